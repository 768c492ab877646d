#include "outcome.h"

#include <new>

#include "core/text/escaped_text.h"
#include "platform.h"
#include "texts.h"

namespace ztrec {

bool IsSkipped(Result result) {
    return result >= Result::NotEncrypted && result <= Result::NotRegularFile;
}

std::string Shown(const std::filesystem::path& path) {
    return core::EscapedPath(Utf8Of(path));
}

std::string DescribeFailure(std::exception_ptr error) {
    if (std::optional<std::string> text = SystemErrorText(error)) return *text;
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        return texts::OutOfMemory();
    } catch (...) {
        return texts::UnexpectedFailure();
    }
}

}  // namespace ztrec
