#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "secret/base64_text.h"
#include "win/hresult.h"

namespace {

// What a decoder makes of the text: the bytes, or the error it raised.
struct Outcome {
    std::vector<BYTE> bytes;
    HRESULT error = S_OK;
    bool operator==(const Outcome&) const = default;
};

Outcome Decode(std::wstring_view text, StringToBinaryFn decode) {
    try {
        return {DecodeBase64Text(text, decode), S_OK};
    } catch (const HResultError& e) {
        return {{}, e.code()};
    }
}

std::vector<BYTE> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

}  // namespace

// Only where the system decoder keeps to the rules: Wine's, for one, makes a byte of a lone
// digit and reads on after padding, which ours rejects as malformed.
TEST(Base64Text, OwnDecoderGivesTheSystemDecodersResults) {
    const std::wstring_view texts[] = {
        L"TWFu", L"TWE=", L"TQ==", L" T W\r\nF\tu ", L"TQ==\r\n", L"TWFu\r\nTWFu\r\n", L"TWF-", L"TW.u",
    };
    const StringToBinaryFn system = SystemStringToBinaryW();
    ASSERT_NE(system, &FallbackStringToBinaryW) << "Crypt32 should provide its decoder";
    for (const auto text : texts) {
        EXPECT_EQ(Decode(text, &FallbackStringToBinaryW), Decode(text, system)) << std::wstring(text).c_str();
    }
}

TEST(Base64Text, OwnDecoderDecodesAndRejectsAsAWhole) {
    EXPECT_EQ(Decode(L"TWE=\r\n", &FallbackStringToBinaryW), (Outcome{Bytes("Ma"), S_OK}));
    EXPECT_EQ(Decode(L"", &FallbackStringToBinaryW), (Outcome{{}, S_OK}));
    EXPECT_EQ(Decode(L"TW.u", &FallbackStringToBinaryW),
              (Outcome{{}, HRESULT_FROM_WIN32(ERROR_INVALID_DATA)}));
}

TEST(Base64Text, OwnDecoderReportsTheNeededSizeForASmallBuffer) {
    BYTE out[2] = {};
    DWORD size = sizeof(out);
    EXPECT_FALSE(FallbackStringToBinaryW(L"TWFu", 4, CRYPT_STRING_BASE64, out, &size, nullptr, nullptr));
    EXPECT_EQ(::GetLastError(), static_cast<DWORD>(ERROR_MORE_DATA));
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(out[0], 0) << "nothing is written when it does not fit";
}
