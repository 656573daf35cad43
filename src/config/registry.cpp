#include "config/registry.h"

#include "config/registry_file.h"
#include "platform/environment.h"
#include "platform/filesystem.h"

namespace kx::config {
namespace {

// Far above any real store; a larger file is not a store and is not read into memory.
constexpr std::size_t kMaxStoreBytes = 16 * 1024 * 1024;

const char* rootName(RegistryRoot root)
{
    switch (root) {
    case RegistryRoot::ClassesRoot:
        return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
        return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
        return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
        return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
        return "HKEY_CURRENT_CONFIG";
    }
    return "";
}

std::string fullKeyPath(RegistryRoot root, const std::string& keyPath)
{
    const auto start = keyPath.find_first_not_of('\\');
    return std::string(rootName(root)) + "\\" + (start == std::string::npos ? "" : keyPath.substr(start));
}

RegistryFile loadMachineStore()
{
    const auto content = platform::readWholeFile(machineStorePath(), kMaxStoreBytes);
    return RegistryFile::parse(content ? *content : std::string());
}

// Stored text ends in its terminating NUL, which is not part of the value.
std::string withoutTerminator(std::string text)
{
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

RegistryValue valueOf(const RegistryEntry& entry)
{
    switch (entry.type) {
    case RegistryType::Text:
        return RegistryValue(withoutTerminator(entry.storedText));
    case RegistryType::ExpandableText:
        return RegistryValue(withoutTerminator(
            expandEnvironmentReferences(entry.storedText, platform::environmentVariable)));
    case RegistryType::Number:
        return RegistryValue(entry.number);
    case RegistryType::Other:
        break;
    }
    return RegistryValue();
}

}  // namespace

std::string RegistryValue::text() const
{
    if (const auto* text = std::get_if<std::string>(&content_))
        return *text;
    if (const auto* number = std::get_if<std::uint32_t>(&content_))
        return std::to_string(*number);
    return "";
}

std::optional<std::uint32_t> RegistryValue::number() const
{
    if (const auto* number = std::get_if<std::uint32_t>(&content_))
        return *number;
    return std::nullopt;
}

std::string machineStorePath()
{
    const auto named = platform::environmentVariable(kMachineStoreVariable);
    return named && !named->empty() ? *named : kMachineWideStore;
}

RegistryValue ReadRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName)
{
    const RegistryFile store = loadMachineStore();
    const RegistryEntry* entry = store.find(fullKeyPath(root, keyPath), valueName);
    return entry ? valueOf(*entry) : RegistryValue();
}

std::vector<std::string> registrySubkeys(RegistryRoot root, const std::string& keyPath)
{
    return loadMachineStore().subkeys(fullKeyPath(root, keyPath));
}

}  // namespace kx::config
