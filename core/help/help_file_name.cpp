#include "core/help/help_file_name.h"

namespace core {

namespace {

constexpr std::uint16_t kEnglishUs = 0x0409;

constexpr std::uint16_t Primary(std::uint16_t language) {
    return language & 0x3FF;
}

// Chinese and Portuguese keep two regional help files each; their other variants use one.
std::uint16_t RegionalHelpLanguage(std::uint16_t uiLanguage, std::uint16_t keep1, std::uint16_t keep2,
                                   std::uint16_t otherwise) {
    return uiLanguage == keep1 || uiLanguage == keep2 ? uiLanguage : otherwise;
}

}  // namespace

std::uint16_t HelpLanguage(std::uint16_t uiLanguage) {
    switch (Primary(uiLanguage)) {
        case 0x04:
            return RegionalHelpLanguage(uiLanguage, 0x0404, 0x0804, 0x0404);  // Chinese
        case 0x07:
            return 0x0407;  // German
        case 0x0A:
            return 0x040A;  // Spanish
        case 0x0C:
            return 0x040C;  // French
        case 0x10:
            return 0x0410;  // Italian
        case 0x11:
            return 0x0411;  // Japanese
        case 0x12:
            return 0x0412;  // Korean
        case 0x16:
            return RegionalHelpLanguage(uiLanguage, 0x0416, 0x0816, 0x0416);  // Portuguese
        default:
            return kEnglishUs;
    }
}

std::u16string HelpFileName(std::u16string_view baseName, std::uint16_t uiLanguage) {
    std::u16string name(baseName);
    const std::uint16_t language = HelpLanguage(uiLanguage);
    if (language != kEnglishUs) {
        static constexpr char16_t kHex[] = u"0123456789abcdef";
        name += u'_';
        for (int shift = 12; shift >= 0; shift -= 4) name += kHex[(language >> shift) & 0xF];
    }
    return name + u".chm";
}

}  // namespace core
