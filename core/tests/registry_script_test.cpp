// The registration script a COM server carries: its keys, flags and values, and the
// replacements put into names and strings.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "core/registration/registry_script.h"

namespace core {
namespace {

constexpr std::u16string_view kScript =
    uR"(
HKCR
{
    Sample.Thing.1 = s 'Thing Class'
    {
        CLSID = s '{0000-1}'
    }
    NoRemove CLSID
    {
        ForceRemove {0000-1} = s 'Thing Class'
        {
            InprocServer32 = s '%MODULE%'
            {
                val ThreadingModel = s 'Both'
            }
        }
    }
}
hkey_local_machine { 'Soft ware' { val 'A b' = s 'it''s 100%%' } }
)";

const ScriptReplacement kModule[] = {{u"MODULE", u"C:\\Bob's {files}\\%x.dll"}};

TEST(RegistryScript, ReadsKeysFlagsDefaultsAndValuesInOrder) {
    const auto roots = ParseRegistryScript(kScript, kModule);
    ASSERT_TRUE(roots);
    ASSERT_EQ(roots->size(), 2u);
    const ScriptRoot& classes = (*roots)[0];
    EXPECT_EQ(classes.root, RegistryRoot::kClassesRoot);
    ASSERT_EQ(classes.keys.size(), 2u);

    const ScriptKey& progId = classes.keys[0];
    EXPECT_EQ(progId.flag, KeyFlag::kNone);
    EXPECT_EQ(progId.name, u"Sample.Thing.1");
    EXPECT_EQ(progId.defaultValue, u"Thing Class");
    ASSERT_EQ(progId.subKeys.size(), 1u);
    EXPECT_EQ(progId.subKeys[0].defaultValue, u"{0000-1}");

    const ScriptKey& clsid = classes.keys[1];
    EXPECT_EQ(clsid.flag, KeyFlag::kNoRemove);
    EXPECT_FALSE(clsid.defaultValue);
    ASSERT_EQ(clsid.subKeys.size(), 1u);
    const ScriptKey& classKey = clsid.subKeys[0];
    EXPECT_EQ(classKey.flag, KeyFlag::kForceRemove);
    EXPECT_EQ(classKey.name, u"{0000-1}");
    ASSERT_EQ(classKey.subKeys.size(), 1u);
    const ScriptKey& server = classKey.subKeys[0];
    EXPECT_EQ(server.defaultValue, u"C:\\Bob's {files}\\%x.dll");
    ASSERT_EQ(server.values.size(), 1u);
    EXPECT_EQ(server.values[0].name, u"ThreadingModel");
    EXPECT_EQ(server.values[0].text, u"Both");

    const ScriptRoot& machine = (*roots)[1];
    EXPECT_EQ(machine.root, RegistryRoot::kLocalMachine);
    ASSERT_EQ(machine.keys.size(), 1u);
    EXPECT_EQ(machine.keys[0].name, u"Soft ware");
    ASSERT_EQ(machine.keys[0].values.size(), 1u);
    EXPECT_EQ(machine.keys[0].values[0].name, u"A b");
    EXPECT_EQ(machine.keys[0].values[0].text, u"it's 100%");
}

// Root names in either spelling and any case; an empty script has none.
TEST(RegistryScript, EveryRootNameIsKnown) {
    const auto empty = ParseRegistryScript(u" \r\n\t", {});
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    const auto roots = ParseRegistryScript(
        u"HKCU { } HKEY_CURRENT_USER { } HKU { } hkey_users { } HKEY_CLASSES_ROOT { } HKLM { }", {});
    ASSERT_TRUE(roots);
    const RegistryRoot expected[] = {RegistryRoot::kCurrentUser, RegistryRoot::kCurrentUser,
                                     RegistryRoot::kUsers,       RegistryRoot::kUsers,
                                     RegistryRoot::kClassesRoot, RegistryRoot::kLocalMachine};
    ASSERT_EQ(roots->size(), std::size(expected));
    for (std::size_t i = 0; i < roots->size(); ++i) EXPECT_EQ((*roots)[i].root, expected[i]) << i;
}

TEST(RegistryScript, MalformedScriptsAreRefusedWhole) {
    const std::u16string_view bad[] = {
        u"HKXX { A }",                  // unknown root
        u"HKCR A",                      // root without a block
        u"HKCR { A",                    // block not closed
        u"HKCR { A = s 'open }",        // string not closed
        u"HKCR { A = 'no type' }",      // value without its type
        u"HKCR { A = d '1' }",          // a type this registrar does not write
        u"HKCR { A = s word }",         // string not quoted
        u"HKCR { A = }",                // value missing
        u"HKCR { '' }",                 // empty key name
        u"HKCR { val A = s 'x' }",      // named value outside a key
        u"HKCR { A { val = s 'x' } }",  // named value without a name
        u"HKCR { A = s '%UNKNOWN%' }",  // replacement not given
        u"HKCR { A = s '50% off' }",    // percent sign not closed
        u"HKCR { NoRemove }",           // flag without a key
        u"HKCR { A } }",                // stray closing brace
    };
    for (std::u16string_view text : bad) {
        EXPECT_FALSE(ParseRegistryScript(text, kModule)) << std::string(text.begin(), text.end());
    }
}

// Forty levels are refused; eight, as deep as the suite's scripts go, are read.
TEST(RegistryScript, NestingIsBounded) {
    const auto nested = [](int depth) {
        std::u16string script = u"HKCR {";
        for (int i = 0; i < depth; ++i) script += u" K {";
        for (int i = 0; i < depth; ++i) script += u" }";
        return script + u" }";
    };
    EXPECT_FALSE(ParseRegistryScript(nested(40), {}));
    EXPECT_TRUE(ParseRegistryScript(nested(8), {}));
}

}  // namespace
}  // namespace core
