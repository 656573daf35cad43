#include <gtest/gtest.h>

#include "workbook/print/font_name_filter.h"

using namespace kx::workbook;

TEST(FontNameFilter, EverySubsetGetsItsOwnNameWhereverTheChunksBreak)
{
    const std::string postScript = "%!PS\n/FontName /LiberationSans def\n/FontType 42 def\n"
                                   "/FontName /LiberationSans def\n/FontName /f-1-0 def\n"
                                   "(/FontName /X def) show\n/FontName /Last def";
    for (size_t chunk : {1u, 7u, 4096u}) {
        FontNameFilter filter;
        std::string output;
        for (size_t at = 0; at < postScript.size(); at += chunk)
            filter.filter(std::string_view(postScript).substr(at, chunk), output);
        filter.finish(output);
        EXPECT_EQ(output, "%!PS\n/FontName /LiberationSans_1 def\n/FontType 42 def\n"
                          "/FontName /LiberationSans_2 def\n/FontName /f-1-0 def\n"
                          "(/FontName /X def) show\n/FontName /Last_3 def")
            << "chunks of " << chunk;
    }
}
