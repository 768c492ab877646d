#pragma once

// What a run does to the files it is given; the numbers are those that pass between the
// programs' pieces (and that the engines report as their kind).
enum OperationKind : int { kOperationEncrypt = 1, kOperationDecrypt = 2, kOperationDecryptAndOpen = 4 };
