#pragma once
#include <windows.h>

#include <array>
#include <string_view>

#include "secret/crypt_blob.h"
#include "ui/modal_dialog.h"

// The secret a password makes: the MD4 digest of its UTF-16 units and terminating zero unit,
// through CryptoAPI. Failures are raised.
void MakePasswordSecret(std::wstring_view password, CHeapBlob& secret);

// A dialog that turns a typed password into a secret. Subclasses check what was typed when
// the user presses OK and hand the password to MakeSecret; Cancel ends it without a secret.
class CPasswordDialog : public CModalDialog {
public:
    // The most characters a password field takes.
    static constexpr int kMaxPassword = 256;

    // S_OK with the secret, S_FALSE when the user cancelled. A dialog that cannot be shown, or
    // a secret that cannot be made, is raised.
    HRESULT Ask(HWND owner);
    const CHeapBlob& Secret() const { return secret_; }

protected:
    explicit CPasswordDialog(UINT templateId) : CModalDialog(templateId) {}

    // Limits the field to kMaxPassword characters and gives it the focus.
    static void PrepareField(HWND dialog, int id);
    // What OK does: the dialog stays open until MakeSecret ends it.
    virtual void Accept(HWND dialog) = 0;
    // Makes the secret and ends the dialog with OK. Nothing may be raised through the dialog
    // procedure, so a failure ends the dialog too and Ask raises it.
    void MakeSecret(HWND dialog, std::wstring_view password);

private:
    bool OnCommand(HWND dialog, WORD id) final;

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
