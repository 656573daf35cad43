#pragma once
// What reading left out of a workbook it could still open: each warning names the record, where
// it lies in the workbook stream and what was dropped. A damaged file could raise a warning per
// record, so only the first ones are kept and the rest counted.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kx::workbook {

struct LoadWarning {
    uint16_t recordType = 0;
    size_t offset = 0;    // of the record header in the workbook stream
    std::string dropped;  // what was left out, in words a user understands
    bool atRecord = true;  // false for what only printing finds, such as a picture it cannot draw
    bool operator==(const LoadWarning&) const = default;
};

class LoadWarnings {
public:
    static constexpr size_t maximumKept = 100;

    void add(uint16_t recordType, size_t offset, std::string dropped);
    void add(std::string dropped);  // not tied to a record
    const std::vector<LoadWarning>& kept() const { return kept_; }
    size_t notKept() const { return notKept_; }
    bool empty() const { return kept_.empty(); }
    // One line per warning kept ("record 0x0208 at offset 1234: ..."), then one counting the others.
    std::vector<std::string> lines() const;

private:
    void keep(LoadWarning warning);

    std::vector<LoadWarning> kept_;
    size_t notKept_ = 0;
};

// "0x0208": record types as the format description writes them.
std::string recordTypeText(uint16_t type);

}  // namespace kx::workbook
