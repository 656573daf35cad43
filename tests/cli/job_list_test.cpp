#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "cli/job_list.h"

namespace fs = std::filesystem;
using namespace kx::cli;

namespace {

class JobListFolder : public ::testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("kx-job-list-" + std::to_string(::getpid()));
        for (const char* file : {"a.xls", "B.XLS", "notes.txt", ".hidden.xls", "sub/c.xls", "sub/deeper/d.xls", ".git/e.xls"}) {
            fs::create_directories((root_ / file).parent_path());
            std::ofstream(root_ / file) << "x";
        }
    }
    void TearDown() override { fs::remove_all(root_); }

    std::string path(const std::string& name) const { return (root_ / name).string(); }

    fs::path root_;
};

}  // namespace

TEST_F(JobListFolder, FoldersGiveTheirWorkbooksAndRecursionKeepsTheLayout)
{
    const auto flat = sortedJobs(jobsFromSources({root_.string()}, "out", false));
    EXPECT_EQ(flat, (std::vector<Job>{{path("B.XLS"), "out/B.pdf"}, {path("a.xls"), "out/a.pdf"}}));

    const auto deep = sortedJobs(jobsFromSources({root_.string(), "/elsewhere/x.xls"}, "out", true));
    EXPECT_EQ(deep, (std::vector<Job>{{"/elsewhere/x.xls", "out/x.pdf"},
                                      {path("B.XLS"), "out/B.pdf"},
                                      {path("a.xls"), "out/a.pdf"},
                                      {path("sub/c.xls"), "out/sub/c.pdf"},
                                      {path("sub/deeper/d.xls"), "out/sub/deeper/d.pdf"}}));
}

TEST(JobList, TwoSourcesForOneTargetAreRefused)
{
    EXPECT_THROW(sortedJobs(jobsFromSources({"one/x.xls", "two/x.xls"}, "out", false)), kx::conversion::UsageError);
    std::istringstream manifest("a.xls\tout/./same.pdf\nb.xls\tout/same.pdf\n");
    EXPECT_THROW(sortedJobs(jobsFromManifest(manifest)), kx::conversion::UsageError);
}

TEST(JobList, ManifestLinesAreSourceTabTarget)
{
    std::istringstream good("b.xls\tB.pdf\r\n\na b.xls\tout/a b.pdf\n");
    EXPECT_EQ(jobsFromManifest(good), (std::vector<Job>{{"b.xls", "B.pdf"}, {"a b.xls", "out/a b.pdf"}}));
    for (const char* bad : {"a.xls\n", "\tout.pdf\n", "a.xls\t\n"}) {
        std::istringstream manifest(std::string("ok.xls\tok.pdf\n") + bad);
        try {
            jobsFromManifest(manifest);
            ADD_FAILURE() << "accepted " << bad;
        } catch (const kx::conversion::UsageError& error) {
            EXPECT_NE(std::string(error.what()).find("line 2"), std::string::npos);
        }
    }
}

TEST(JobList, SharesTakeEveryJobExactlyOnceInNearlyEqualParts)
{
    for (const int total : {0, 1, 7, 34, 100}) {
        std::vector<Job> jobs;
        for (int i = 0; i < total; ++i)
            jobs.push_back({std::to_string(i), std::to_string(i) + ".pdf"});
        for (const int count : {1, 3, 8}) {
            std::multiset<std::string> taken;
            for (int index = 1; index <= count; ++index) {
                const auto share = shareOf(jobs, {index, count});
                EXPECT_LE(share.size(), static_cast<std::size_t>(total / count + 1)) << total << " " << count;
                for (const Job& job : share)
                    taken.insert(job.source);
            }
            EXPECT_EQ(taken.size(), static_cast<std::size_t>(total));
            EXPECT_EQ(std::set<std::string>(taken.begin(), taken.end()).size(), taken.size());
        }
    }
}
