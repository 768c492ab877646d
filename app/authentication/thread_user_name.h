#pragma once
#include <string>

// The account the calling thread acts for, as "domain\account": the impersonated user when
// the thread impersonates, the process's user otherwise. The thread's impersonation state is
// the same afterwards, also when this fails (raised as the system error).
std::wstring ThreadUserName();
