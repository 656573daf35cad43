#include "cli/results.h"

#include <cstdio>

namespace kx::cli {
namespace {

// A JSON string; bytes that are not valid UTF-8 pass through, as file names on Linux may hold them.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned char>(c));
                out += escape;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

std::string quotedList(const std::vector<std::string>& texts)
{
    std::string list = "[";
    for (const std::string& text : texts)
        list += (list.size() > 1 ? "," : "") + quoted(text);
    return list + "]";
}

std::string fixed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

}  // namespace

const char* statusName(JobStatus status)
{
    switch (status) {
    case JobStatus::Converted: return "converted";
    case JobStatus::Skipped: return "skipped";
    case JobStatus::Failed: break;
    }
    return "failed";
}

std::string resultLine(const JobRecord& record)
{
    const ConversionReport& report = record.report;
    return "{\"source\":" + quoted(record.job.source) + ",\"target\":" + quoted(record.job.target)
        + ",\"status\":" + quoted(statusName(record.status)) + ",\"pages\":" + std::to_string(report.pages)
        + ",\"seconds\":" + fixed(record.seconds)
        + ",\"error\":" + (report.errorNumber ? std::to_string(*report.errorNumber) : std::string("null"))
        + ",\"message\":" + quoted(report.message) + ",\"warnings\":" + quotedList(report.warnings)
        + ",\"peak_memory_kb\":" + std::to_string(record.peakMemoryKb) + "}";
}

}  // namespace kx::cli
