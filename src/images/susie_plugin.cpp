#include "images/susie_plugin.h"

#include "images/dib_pixels.h"
#include "images/plugin_result_check.h"
#include "platform/errors.h"
#include "platform/files.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dlfcn.h>
#include <istream>
#include <iterator>
#include <malloc.h>
#include <utility>

namespace pagora {
namespace {

constexpr std::size_t kInfoBufferSize = 256;

unsigned char lowerAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + 32) : c;
}

// Matches a file name against a pattern of "*" and "?" without regard to
// ASCII letter case, as the Windows file listing does.
bool matchesPattern(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0, starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || lowerAscii(static_cast<unsigned char>(pattern[p])) ==
                                             lowerAscii(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool hasPluginSuffix(std::string_view name) {
    return name.size() > 4 && matchesPattern(name.substr(name.size() - 4), ".spi");
}

bool isCp932LeadByte(unsigned char c) {
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

// Upper-cases ASCII letters of a CP932 text, leaving the second bytes of
// double-byte characters alone.
std::string upperCp932(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (isCp932LeadByte(c))
            ++i;
        else if (c >= 'a' && c <= 'z')
            text[i] = static_cast<char>(c - 32);
    }
    return text;
}

// The plug-in file names of a folder that match pattern, in name order.
std::vector<std::string> listPluginFiles(const std::filesystem::path& folder,
                                         std::string_view pattern) {
    std::vector<std::string> names;
    // No folder means no plug-ins, not those of the current folder.
    if (folder.empty())
        return names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (name.empty() || name[0] == '.' || !it->is_regular_file(typeError))
            continue;
        if (hasPluginSuffix(name) && matchesPattern(name, pattern))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

template <typename Function> Function lookUp(void* handle, const char* name) {
    return reinterpret_cast<Function>(dlsym(handle, name));
}

std::string pluginInfo(SusieGetPluginInfo getInfo, int number) {
    char buffer[kInfoBufferSize] = {};
    getInfo(number, buffer, static_cast<int>(kInfoBufferSize - 1));
    buffer[kInfoBufferSize - 1] = '\0';
    return buffer;
}

// The two blocks a plug-in hands back; both are freed when this goes.
class PluginBlocks {
public:
    PluginBlocks() = default;
    ~PluginBlocks() {
        std::free(info);
        std::free(bits);
    }
    PluginBlocks(const PluginBlocks&) = delete;
    PluginBlocks& operator=(const PluginBlocks&) = delete;

    void* info = nullptr;
    void* bits = nullptr;
};

std::span<const std::uint8_t> blockBytes(void* block) {
    return {static_cast<const std::uint8_t*>(block), malloc_usable_size(block)};
}

} // namespace

TSusiePlugIn::TSusiePlugIn()
    : filter_(kAllTypesFilter) {
}

TSusiePlugIn::~TSusiePlugIn() {
    FreePlugins();
}

void TSusiePlugIn::LoadPlugins(const std::filesystem::path& mask) {
    const std::filesystem::path folder = mask.parent_path();
    const std::string pattern = mask.filename().string();
    for (const std::string& name : listPluginFiles(folder, pattern)) {
        const std::string path = (folder / name).string();
        const bool known = std::any_of(plugins_.begin(), plugins_.end(),
                                       [&](const auto& plug) { return plug->FileName == path; });
        if (!known)
            LoadPlugin(path);
    }
}

bool TSusiePlugIn::LoadPlugin(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    auto plug = std::make_unique<TPlug>();
    plug->Handle = handle;
    plug->FileName = path;
    plug->GetPluginInfo = lookUp<SusieGetPluginInfo>(handle, "GetPluginInfo");
    if (plug->GetPluginInfo) {
        plug->ApiVersion = pluginInfo(plug->GetPluginInfo, 0);
        plug->PlugInName = pluginInfo(plug->GetPluginInfo, 1);
        plug->FileTypeName = pluginInfo(plug->GetPluginInfo, 3);
        plug->Extension = upperCp932(pluginInfo(plug->GetPluginInfo, 2));
    }
    if (!plug->GetPluginInfo || plug->ApiVersion != SUSIE_API_VERSION_IMPORT) {
        dlclose(handle);
        return false;
    }
    plug->GetPictureInfo = lookUp<SusieGetPictureInfo>(handle, "GetPictureInfo");
    plug->IsSupported = lookUp<SusieIsSupported>(handle, "IsSupported");
    plug->GetPicture = lookUp<SusieGetPicture>(handle, "GetPicture");
    plug->GetPreview = lookUp<SusieGetPicture>(handle, "GetPrevoew");
    filter_ += plug->FileTypeName + "   [" + plug->Extension + "]|" + plug->Extension + "|";
    plugins_.push_back(std::move(plug));
    return true;
}

void TSusiePlugIn::FreePlugins() {
    for (const auto& plug : plugins_)
        dlclose(plug->Handle);
    plugins_.clear();
}

const TPlug* TSusiePlugIn::GetPlugin(int index) const {
    if (index < 0 || index >= PluginCount())
        return nullptr;
    return plugins_[static_cast<std::size_t>(index)].get();
}

int TSusiePlugIn::LoadFromFile(const std::filesystem::path& fileName, Picture* bitmap) {
    std::string bytes;
    try {
        bytes = readWholeFile(fileName);
    } catch (const IoError&) {
        return 0;
    }
    return LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                          bitmap);
}

int TSusiePlugIn::LoadFromStream(std::istream& stream, Picture* bitmap) {
    const std::string bytes{std::istreambuf_iterator<char>(stream),
                            std::istreambuf_iterator<char>()};
    return LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                          bitmap);
}

int TSusiePlugIn::LoadFromMemory(const std::uint8_t* buffer, std::size_t length, Picture* bitmap) {
    lastPlugin_ = -1;
    if (!buffer || !bitmap || length > static_cast<std::size_t>(LONG_MAX))
        return 0;
    // IsSupported gets only an address; plug-ins may read the first 2 KB of
    // it, so a shorter image is handed over followed by zero bytes.
    std::vector<std::uint8_t> padded;
    const std::uint8_t* image = buffer;
    if (length < kPeekBytes) {
        padded.assign(kPeekBytes, 0);
        std::copy_n(buffer, length, padded.begin());
        image = padded.data();
    }
    for (std::size_t i = 0; i < plugins_.size(); ++i) {
        if (TryPlugin(*plugins_[i], image, length, *bitmap)) {
            lastPlugin_ = static_cast<int>(i);
            return 1;
        }
    }
    return 0;
}

bool TSusiePlugIn::TryPlugin(const TPlug& plug, const std::uint8_t* image, std::size_t length,
                             Picture& bitmap) {
    if (!plug.IsSupported || !plug.GetPicture)
        return false;
    if (plug.IsSupported(nullptr, reinterpret_cast<std::uintptr_t>(image)) == 0)
        return false;
    PluginBlocks blocks;
    const int result = plug.GetPicture(
        reinterpret_cast<const char*>(image), static_cast<long>(length), SUSIE_INPUT_IN_MEMORY,
        &blocks.info, &blocks.bits, &ProgressCallback, reinterpret_cast<long>(this));
    if (result != 0) // after an error the blocks are the plug-in's: nothing is freed
        blocks.info = blocks.bits = nullptr;
    if (workingError_) // the progress handler threw; it could not pass through the plug-in
        std::rethrow_exception(std::exchange(workingError_, nullptr));
    if (result != 0)
        return false;
    if (!blocks.info || !blocks.bits)
        return false;
    const std::span<const std::uint8_t> info = blockBytes(blocks.info);
    const std::span<const std::uint8_t> bits = blockBytes(blocks.bits);
    const DibCheck check = CheckPluginBitmap(info, bits.size());
    if (!check.ok())
        return false;
    bitmap = DibToPicture(check.Layout, info, bits);
    return true;
}

int TSusiePlugIn::ProgressCallback(int nNum, int nDenom, long lData) {
    auto* self = reinterpret_cast<TSusiePlugIn*>(lData);
    if (self->OnWorking && !self->workingError_) {
        try {
            self->OnWorking(*self, nNum, nDenom);
        } catch (...) {
            self->workingError_ = std::current_exception();
        }
    }
    return 0;
}

} // namespace pagora
