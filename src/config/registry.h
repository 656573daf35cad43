#pragma once
// Read-only access to the machine facts kept in the machine store: a text file in the standard
// registry export format, written by the set-up script. The file named by the environment
// variable KORVENDAL_MACHINE_STORE is used when set, otherwise the machine-wide file.
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace kx::config {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

inline constexpr const char* kMachineStoreVariable = "KORVENDAL_MACHINE_STORE";
inline constexpr const char* kMachineWideStore = "/etc/korvendal-xl/machine.reg";

// One value as read: text, a 32-bit number, or empty (absent, unreadable or of another type).
class RegistryValue {
public:
    RegistryValue() = default;
    explicit RegistryValue(std::string text) : content_(std::move(text)) {}
    explicit RegistryValue(std::uint32_t number) : content_(number) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(content_); }
    // The value as callers compare it with "": the text, the number in decimal, or "" when empty.
    std::string text() const;
    std::optional<std::uint32_t> number() const;

    bool operator==(const RegistryValue&) const = default;

private:
    std::variant<std::monostate, std::string, std::uint32_t> content_;
};

// The value `valueName` of the key `keyPath` (for example "SOFTWARE\GS") under `root`.
// Text loses its terminating NUL; expandable text has its %NAME% references replaced from the
// environment; a 32-bit number stays a number; a missing store, key or value, or any other
// type, gives the empty value. Never throws and never shows anything.
RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName);

// The names of the direct subkeys of `keyPath` under `root`, in the order the store first names
// them, each once; empty when the key or the store is missing.
std::vector<std::string> registrySubkeys(RegistryRoot root, const std::string& keyPath);

// The machine store file in use: KORVENDAL_MACHINE_STORE when set and not empty, else the machine-wide file.
std::string machineStorePath();

}  // namespace kx::config
