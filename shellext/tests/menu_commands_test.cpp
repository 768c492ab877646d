// The insertion of the plug-in's commands, with an insertion that fails on the way.
#include <gtest/gtest.h>

#include "shellext/menu_commands.h"
#include "win/hresult.h"
#include "win/unique_handle.h"

namespace {

using Menu = UniqueHandle<SimpleTraits<HMENU, nullptr, ::DestroyMenu>>;

// The shell frees the identifiers of a handler that reports a failure: none of them may be
// left in the menu.
TEST(MenuCommandsTest, AFailedInsertionTakesOutTheCommandsAlreadyInserted) {
    const Menu menu(::CreatePopupMenu());
    ASSERT_TRUE(::AppendMenuW(menu.get(), MF_STRING, 100, L"Open"));
    const MenuCommand* commands[] = {CommandAtOffset(kEncryptOffset), CommandAtOffset(kDecryptOffset)};
    constexpr UINT kFirstId = 500;
    UINT position = 0;
    const auto insert = [&](const MenuCommand& command) {
        if (command.offset == kDecryptOffset) ThrowWin32(ERROR_NOT_ENOUGH_MEMORY);
        Check(::InsertMenuW(menu.get(), position++, MF_BYPOSITION | MF_STRING, kFirstId + command.offset,
                            L"x"));
    };

    EXPECT_THROW(InsertAllOrNone(menu.get(), kFirstId, commands, insert), HResultError);

    EXPECT_EQ(::GetMenuItemCount(menu.get()), 1);
    EXPECT_EQ(::GetMenuItemID(menu.get(), 0), 100u);
}

}  // namespace
