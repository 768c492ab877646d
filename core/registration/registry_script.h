#pragma once
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace core {

// A registration script, the text a COM server carries as its "REGISTRY" resource:
//
//   HKCR
//   {
//       Some.ProgID = s 'Description'
//       {
//           CLSID = s '{...}'
//       }
//       NoRemove CLSID
//       {
//           ForceRemove {...} = s 'Description'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Both'
//               }
//           }
//       }
//   }
//
// Roots are HKCR, HKCU, HKLM and HKU (or their long names). A key may carry a default value
// and named values ("val"), all strings ("s"). NoRemove keeps a key when the script is run
// to unregister; ForceRemove deletes a key with everything below it before it is written.
// Tokens are separated by white space; names are bare words or, like strings, quoted with
// single quotes, a quote inside written twice. %NAME% in a name or string is replaced by the caller's value
// for NAME after the text is unquoted, so a value holding quotes or braces cannot change the script's shape;
// %% stands for one percent sign.

enum class RegistryRoot { kClassesRoot, kCurrentUser, kLocalMachine, kUsers };
enum class KeyFlag { kNone, kNoRemove, kForceRemove };

struct ScriptValue {
    std::u16string name;
    std::u16string text;
};

struct ScriptKey {
    KeyFlag flag = KeyFlag::kNone;
    std::u16string name;
    std::optional<std::u16string> defaultValue;
    std::vector<ScriptValue> values;
    std::vector<ScriptKey> subKeys;
};

struct ScriptRoot {
    RegistryRoot root;
    std::vector<ScriptKey> keys;
};

struct ScriptReplacement {
    std::u16string_view name;  // without the percent signs
    std::u16string_view value;
};

// Nothing when the text is not a well-formed script, names a replacement it was not given,
// or nests keys deeper than any registration needs.
std::optional<std::vector<ScriptRoot>> ParseRegistryScript(std::u16string_view text,
                                                           std::span<const ScriptReplacement> replacements);

}  // namespace core
