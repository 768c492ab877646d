#pragma once
#include <string>
#include <vector>

// What the user selected in Explorer: which of the two commands it calls for, and the paths
// to hand to the main program, each in quotation marks, in selection order.
class CSelection {
public:
    // Classifies one selected path and keeps it, unless it lies in the user's Start menu or
    // the Windows folder: those are neither looked at nor passed on.
    void AddSelectedPath(const std::wstring& path);

    bool OfferEncrypt() const { return offerEncrypt_; }
    bool OfferDecrypt() const { return offerDecrypt_; }
    const std::vector<std::u16string>& QuotedPaths() const { return quotedPaths_; }

private:
    bool BothKnown() const { return offerEncrypt_ && offerDecrypt_; }
    void ClassifyFile(const std::wstring& name);
    // Depth-first over the folder's tree, until both commands are known.
    void ScanFolder(const std::wstring& folder);

    bool offerEncrypt_ = false;
    bool offerDecrypt_ = false;
    std::vector<std::u16string> quotedPaths_;
};
