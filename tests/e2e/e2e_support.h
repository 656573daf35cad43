#pragma once
// What the end-to-end tests share: a machine store naming the real Ghostscript and the printer
// "Korvendal", running programs, and looking into PDFs with poppler's tools.
#include <string>

// Skips the test when the corpus of real workbooks is not there.
#define KX_REQUIRE_CORPUS()                                                                   \
    do {                                                                                      \
        if (!::kx::e2e::corpusPresent())                                                      \
            GTEST_SKIP() << "no corpus at " << ::kx::e2e::corpusFolder() << " (set KX_CORPUS_DIR)"; \
    } while (false)

namespace kx::e2e {

// A folder for one test with a machine store in it, installed through KORVENDAL_MACHINE_STORE
// for this process and the programs it starts; both are undone when the object goes away.
class TestMachine {
public:
    TestMachine();
    ~TestMachine();
    TestMachine(const TestMachine&) = delete;
    TestMachine& operator=(const TestMachine&) = delete;

    const std::string& folder() const { return folder_; }
    std::string file(const std::string& name) const;

private:
    std::string folder_;
    std::string previousStore_;
    bool hadStore_ = false;
};

struct CommandResult {
    int exitStatus = -1;
    std::string output;  // standard output
    std::string errors;  // standard error
};

// Runs `command` through the shell; the caller quotes what needs quoting.
CommandResult runCommand(const std::string& command);

// The corpus of real workbooks: KX_CORPUS_DIR from the environment, else the one beside the sources.
std::string corpusFolder();
std::string corpusFile(const std::string& name);
bool corpusPresent();
std::string readFile(const std::string& path);
int pdfPageCount(const std::string& pdf);
// The text of pages `first` to `last` (1-based; 0 for the whole document), blanks squeezed.
std::string pdfText(const std::string& pdf, int first = 0, int last = 0);

}  // namespace kx::e2e
