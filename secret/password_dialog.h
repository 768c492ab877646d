#pragma once
#include <windows.h>

#include <array>
#include <string_view>

#include "secret/crypt_blob.h"
#include "ui/modal_dialog.h"

// The secret a password makes: the MD4 digest of its UTF-16 units and terminating zero unit,
// through CryptoAPI. Failures are raised.
void MakePasswordSecret(std::wstring_view password, CHeapBlob& secret);

// A program's own resources for its password dialog. A program that makes a new secret asks
// for the password twice, with a prompt, in front of whatever is active; one that recovers
// with a known password asks once.
struct PasswordDialogLayout {
    UINT templateId;
    int field;
    // The second field, which must hold the same password; 0 when the password is asked once.
    int confirmation = 0;
    // The static control that shows promptText when the dialog opens; 0 for none.
    int prompt = 0;
    UINT promptText = 0;
    UINT emptyMessage = 0;
    // Shown when the two fields differ.
    UINT differMessage = 0;
    bool foreground = false;
};

// A dialog that turns a typed password into a secret. OK is refused while the field is empty
// or the confirmation differs; Cancel ends it without a secret.
class CPasswordDialog : public CModalDialog {
public:
    // The most characters a password field takes.
    static constexpr int kMaxPassword = 256;

    explicit CPasswordDialog(const PasswordDialogLayout& layout)
        : CModalDialog(layout.templateId), layout_(layout) {}

    // S_OK with the secret, S_FALSE when the user cancelled. A dialog that cannot be shown, or
    // a secret that cannot be made, is raised.
    HRESULT Ask(HWND owner);
    const CHeapBlob& Secret() const { return secret_; }

private:
    bool OnInitDialog(HWND dialog) override;
    bool OnCommand(HWND dialog, WORD id) override;
    // What OK does: the dialog stays open until the password is acceptable.
    void Accept(HWND dialog);
    // Makes the secret and ends the dialog with OK. Nothing may be raised through the dialog
    // procedure, so a failure ends the dialog too and Ask raises it.
    void MakeSecret(HWND dialog, std::wstring_view password);

    PasswordDialogLayout layout_;
    CHeapBlob secret_;
    HRESULT failure_ = S_OK;
};

// One password field's text, overwritten with zeros however the handler ends.
class CPasswordText {
public:
    CPasswordText(HWND dialog, int id);
    ~CPasswordText() { ::SecureZeroMemory(text_.data(), sizeof(text_)); }
    CPasswordText(const CPasswordText&) = delete;
    CPasswordText& operator=(const CPasswordText&) = delete;

    std::wstring_view View() const { return view_; }

private:
    // The whole of what the field can hold and the terminator, so that nothing typed is cut.
    std::array<wchar_t, CPasswordDialog::kMaxPassword + 1> text_{};
    std::wstring_view view_;
};
