#include <gtest/gtest.h>

#include "cli/job_runner.h"
#include "cli/results.h"

using namespace kx::cli;

TEST(ResultLine, IsOneJsonObjectWithEveryFieldAndEscapedText)
{
    const JobRecord failed{.job = {"in \"q\".xls", "out\\x.pdf"},
                           .status = JobStatus::Failed,
                           .report = {.errorNumber = 1009, .message = "line\none\ttab \x01"},
                           .seconds = 1.25,
                           .peakMemoryKb = 4096};
    EXPECT_EQ(resultLine(failed),
              R"({"source":"in \"q\".xls","target":"out\\x.pdf","status":"failed","pages":0,"seconds":1.250,)"
              R"("error":1009,"message":"line\none\ttab \u0001","warnings":[],"peak_memory_kb":4096})");
    const JobRecord skipped{.job = {"a.xls", "a.pdf"}, .status = JobStatus::Skipped};
    EXPECT_NE(resultLine(skipped).find(R"("status":"skipped","pages":0,"seconds":0.000,"error":null,"message":"")"),
              std::string::npos);
}

TEST(ConversionReport, SurvivesTheTripFromTheConvertingProcess)
{
    // The message comes back on one line: line ends and tabs become blanks.
    const std::pair<ConversionReport, std::string> trips[] = {
        {{.converted = true, .pages = 41}, ""},
        {{.errorNumber = -2147467259, .message = "two\nlines\tand a tab"}, "two lines and a tab"},
        {{.message = "Failed to create PDF."}, "Failed to create PDF."},
    };
    for (const auto& [report, message] : trips) {
        const ConversionReport back = decodeReport(encodeReport(report));
        EXPECT_EQ(back.converted, report.converted);
        EXPECT_EQ(back.errorNumber, report.errorNumber);
        EXPECT_EQ(back.pages, report.pages);
        EXPECT_EQ(back.message, message);
    }
}
