// The resources ZTFileEn carries: every text the program asks for, the icon, the menu and
// the settings description.
#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "text/res_string.h"
#include "text/resource_module.h"
#include "win/unique_handle.h"

namespace {

using Icon = UniqueHandle<SimpleTraits<HICON, nullptr, ::DestroyIcon>>;
using Bitmap = UniqueHandle<SimpleTraits<HBITMAP, nullptr, ::DeleteObject>>;
using Menu = UniqueHandle<SimpleTraits<HMENU, nullptr, ::DestroyMenu>>;

// Every text the program asks for is there with the product name put in; texts filled with a
// path take it as their one "%s", since a second would take the error text.
TEST(Resources, EveryStringTheProgramUsesHasATextAndReportTextsOnePlaceForThePath) {
    const UINT withPath[] = {
        IDS_CANNOT_OPEN,      IDS_CANNOT_CREATE,        IDS_CANNOT_DELETE,     IDS_CANNOT_READ,
        IDS_CANNOT_WRITE,     IDS_SKIPPED_SYSTEM,       IDS_CANNOT_LIST,       IDS_CANNOT_COPY_PROPERTIES,
        IDS_SKIPPED_BY_USER,  IDS_OUTPUT_EXISTS,        IDS_CANCELLED,         IDS_WRONG_KEY,
        IDS_OWNER_NOT_SET,    IDS_SKIPPED_PROTECTED,    IDS_NOT_FOUND,         IDS_SKIPPED_HIDDEN,
        IDS_CONFIRM_QUESTION, IDS_ERROR_REASON,         IDS_SKIPPED_LINK,      IDS_SKIPPED_HARD_LINKS,
        IDS_NOT_A_LEFTOVER,   IDS_SKIPPED_STREAMS,      IDS_CHANGED_MEANWHILE, IDS_SKIPPED_LINK_DECRYPT,
        IDS_NOT_OPENED,       IDS_PATH_TOO_LONG_TO_OPEN};
    const UINT others[] = {
        IDS_PASSWORD_EMPTY,  IDS_MESSAGE_CAPTION,  IDS_PASSWORDS_DIFFER, IDS_VERIFY_ENCRYPT,
        IDS_NO_SECRET,       IDS_NOT_VERIFIED,     IDS_PROGRESS_ENCRYPT, IDS_PROGRESS_DECRYPT,
        IDS_NO_ERROR_TEXT,   IDS_PASSWORD_PROMPT,  IDS_MAIN_TITLE,       IDS_CONFIRM_WARNING,
        IDS_CHOOSE_ENCRYPT,  IDS_CHOOSE_DECRYPT,   IDS_OPEN_VERB,        IDS_SUMMARY_ENCRYPT,
        IDS_SUMMARY_DECRYPT, IDS_REPORT_ENCRYPT,   IDS_REPORT_DECRYPT,   IDS_VERIFY_DECRYPT,
        IDS_FILTER_ALL,      IDS_FILTER_ENCRYPTED, IDS_SELECTION_DONE,   IDS_PRODUCT_NAME};
    const auto check = [](UINT id, bool pathText) {
        const std::wstring text = LoadResString(id);
        EXPECT_FALSE(text.empty()) << "string " << id;
        EXPECT_EQ(text.find(L"<<%"), std::wstring::npos) << "string " << id << " kept a placeholder";
        if (!pathText) return;
        const std::size_t first = text.find(L"%s");
        EXPECT_NE(first, std::wstring::npos) << "string " << id;
        EXPECT_EQ(text.find(L"%s", first + 1), std::wstring::npos) << "string " << id;
    };
    for (UINT id : withPath) check(id, true);
    for (UINT id : others) check(id, false);
}

TEST(Resources, TheIconComesInBothSizes) {
    for (int size : {16, 32}) {
        const Icon icon(static_cast<HICON>(
            ::LoadImageW(ResourceModule(), MAKEINTRESOURCEW(IDI_ZTFILEEN), IMAGE_ICON, size, size, 0)));
        ASSERT_TRUE(icon) << size;
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
        const Bitmap colour(info.hbmColor);
        const Bitmap mask(info.hbmMask);
        BITMAP bitmap{};
        ::GetObjectW(colour.get(), sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, size);
    }
}

TEST(Resources, TheMainMenuOffersEveryCommand) {
    const Menu menu(::LoadMenuW(ResourceModule(), MAKEINTRESOURCEW(IDM_MAINMENU)));
    ASSERT_TRUE(menu);
    for (UINT command : {IDM_ENCRYPT, IDM_DECRYPT, IDM_EXIT, IDM_HELP}) {
        wchar_t label[64] = {};
        EXPECT_GT(::GetMenuStringW(menu.get(), command, label, 64, MF_BYCOMMAND), 0) << command;
    }
}

// The product's settings dialog reads this resource byte for byte.
TEST(SettingsDescription, IsCarriedAsEnglishTextWithTabsAndLineBreaks) {
    const HMODULE module = ResourceModule();
    const HRSRC found = ::FindResourceExW(module, L"SETTINGS", MAKEINTRESOURCEW(IDR_SETTINGS),
                                          MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
    ASSERT_NE(found, nullptr);
    const char* data = static_cast<const char*>(::LockResource(::LoadResource(module, found)));
    const std::string text(data, ::SizeofResource(module, found));
    EXPECT_EQ(text,
              "[General]\r\ntext=Fingerprint Reader Icon\r\ntype=group\r\n<items>\r\n"
              "\t[ShowEncryptIcon3]\r\n\ttext=Add Encrypt/Decrypt to the context menu\r\n\ttype=check\r\n"
              "\tdatapath=show_encrypt_icon\r\n\tdefvalue=1\r\n"
              "\ttip=Adds \"Encrypt/Decrypt Files\" menu\\nitems to Windows Explorer menus.\r\n</items>\r\n"
              "[MenuContent]\r\ntext=Tapwise Menu Content\r\ntype=group\r\n<items>\r\n"
              "\t[TWC]\r\n\ttext=Encrypt Files\r\n\ttype=check\r\n\tdatapath=tws_menu_show_twc\r\n"
              "\tdefvalue=1\r\n\ttip=Set it to include Zentaro File Protection in Tapwise Menu\r\n"
              "\tbrand=pro\r\n</items>\r\n");
}

}  // namespace
