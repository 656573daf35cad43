#include "errors/report_error.h"

#include "platform/ui.h"

namespace kx::errors {
namespace {

enum class Notice { None, Overflow, Database };

struct Verdict {
    Notice notice = Notice::None;
    bool mayContinue = true;
};

Verdict verdictFor(std::int32_t code)
{
    switch (code) {
    case kOverflow:
        return {Notice::Overflow, false};
    case kObjectNotSet:
    case kOperationNotAllowedWhenClosed:
    case kDataSourceNotFound:
    case kSyntaxError:
        return {Notice::None, false};
    case kUnspecifiedFailure:
    case kInvalidParameter:
    case kTableNotFound:
        return {Notice::Database, false};
    default:
        return {};
    }
}

std::string noticeText(Notice notice, const std::string& description)
{
    if (notice == Notice::Overflow)
        return "Error: OverFlow of Controls.\r\nYou have exceeded the control limits.";
    return "Following error occured while accessing database:\r\n\r\n" + description
        + "\r\n\r\nPlease contact the database administrator.";
}

void show(Notice notice, const std::string& description)
{
    platform::Message message;
    message.text = noticeText(notice, description);
    message.title = "";
    message.icon = platform::MessageIcon::Critical;
    message.buttons = platform::MessageButtons::Ok;
    platform::ui().showMessage(message);
}

}  // namespace

bool ReportError(std::int32_t code, const std::string& description, const std::string& /*sourceLabel*/) noexcept
{
    try {
        platform::ui().restoreDefaultPointer();
    } catch (...) {
    }
    const Verdict verdict = verdictFor(code);
    if (verdict.notice != Notice::None) {
        try {
            show(verdict.notice, description);
        } catch (...) {
        }
    }
    return verdict.mayContinue;
}

}  // namespace kx::errors
