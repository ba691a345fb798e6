#pragma once

#include "images/picture.h"
#include "images/susie_api.h"

#include <cstddef>
#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace pagora {

// One loaded image plug-in.
struct TPlug {
    void* Handle = nullptr;   // from dlopen
    std::string FileName;     // the path it was loaded from
    std::string ApiVersion;   // information 0, "00IN"
    std::string PlugInName;   // information 1
    std::string Extension;    // information 2, the file name pattern, upper-cased
    std::string FileTypeName; // information 3
    SusieGetPluginInfo GetPluginInfo = nullptr;
    SusieGetPictureInfo GetPictureInfo = nullptr; // these four may be missing
    SusieIsSupported IsSupported = nullptr;
    SusieGetPicture GetPicture = nullptr;
    SusieGetPicture GetPreview = nullptr; // exported as "GetPrevoew"
};

// Loads the image plug-ins of a folder and reads pictures through them, each
// plug-in asked in turn.
class TSusiePlugIn {
public:
    // Progress reported by a plug-in while it decodes.
    using TWorking = std::function<void(TSusiePlugIn& Sender, int nNum, int nDenom)>;

    static constexpr std::string_view kAllTypesFilter = "AllType   [*.*]|*.*|";
    // Plug-ins may look at this many bytes of the image that IsSupported gets.
    static constexpr std::size_t kPeekBytes = 2048;

    TSusiePlugIn();
    ~TSusiePlugIn();
    TSusiePlugIn(const TSusiePlugIn&) = delete;
    TSusiePlugIn& operator=(const TSusiePlugIn&) = delete;

    // Loads the plug-ins matching mask, a folder followed by a file name
    // pattern with "*" and "?" ("plugins/*.SPI"), compared without regard to
    // letter case. Hidden files, names not ending in ".spi", libraries that
    // do not load, lack GetPluginInfo or are not import plug-ins ("00IN"),
    // and paths already in the list are skipped. Plug-ins are taken in name
    // order.
    void LoadPlugins(const std::filesystem::path& mask);
    // Unloads every plug-in. Filter is kept.
    void FreePlugins();
    // The plug-in at index in load order, or null.
    const TPlug* GetPlugin(int index) const;
    int PluginCount() const { return static_cast<int>(plugins_.size()); }

    // Read a picture through the first plug-in that accepts the data and
    // decodes it into a bitmap that passes CheckPluginBitmap. 1 on success,
    // 0 otherwise (bitmap is then unchanged).
    int LoadFromFile(const std::filesystem::path& fileName, Picture* bitmap);
    int LoadFromMemory(const std::uint8_t* buffer, std::size_t length, Picture* bitmap);
    int LoadFromStream(std::istream& stream, Picture* bitmap);

    // An open-dialog filter: "AllType   [*.*]|*.*|" and, for each plug-in
    // loaded, its file type name, "   [", its pattern, "]|", the pattern, "|".
    const std::string& Filter() const { return filter_; }
    // The index of the plug-in that read the last picture, -1 when none did.
    int LastPluginIndex() const { return lastPlugin_; }

    TWorking OnWorking;

private:
    static int ProgressCallback(int nNum, int nDenom, long lData);
    bool LoadPlugin(const std::string& path);
    bool TryPlugin(const TPlug& plug, const std::uint8_t* image, std::size_t length,
                   Picture& bitmap);

    std::vector<std::unique_ptr<TPlug>> plugins_;
    std::string filter_;
    int lastPlugin_ = -1;
    std::exception_ptr workingError_;
};

} // namespace pagora
