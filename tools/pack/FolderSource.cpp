#include "tools/pack/FolderSource.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "tools/pack/CatalogueJson.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/NaturalOrder.h"
#include "tools/pack/SourceFile.h"

namespace fs = std::filesystem;

namespace {
const size_t EXIF_HEAD_BYTES = 256 << 10;

std::string LowerExtension(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return (char)std::tolower(c); });
    return ext;
}

bool IsPictureName(const fs::path& p) {
    const std::string ext = LowerExtension(p);
    return ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".png";
}

// Pictures people keep beside their JPEGs that the viewer cannot show: worth a note, unlike
// the text files and sidecars that are simply not pictures.
bool IsOtherPictureName(const fs::path& p) {
    static const char* const OTHERS[] = {".gif",  ".bmp",  ".tif",  ".tiff", ".webp",
                                         ".heic", ".heif", ".avif", ".jxl"};
    const std::string ext = LowerExtension(p);
    return std::find(std::begin(OTHERS), std::end(OTHERS), ext) != std::end(OTHERS);
}

// Hidden files, among them the "._NAME" companions macOS writes on foreign disks.
bool IsHidden(const fs::path& p) {
    return p.filename().string()[0] == '.';
}

struct FOUND_PICTURE {
    std::string relative; // the path within the folder
    std::string sortKey;  // for ORDER_DATE
};

// When a picture was taken, as "YYYY:MM:DD HH:MM:SS": its EXIF date, else the file's time.
std::string DateOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<BYTE> head(EXIF_HEAD_BYTES);
    in.read(reinterpret_cast<char*>(head.data()), (std::streamsize)head.size());
    head.resize((size_t)std::max<std::streamsize>(0, in.gcount()));
    const std::string exif = CJpegMarkers::ReadDateTaken(head.data(), head.size());
    if (!exif.empty())
        return exif;
    struct stat st {};
    ::stat(path.c_str(), &st);
    std::tm local{};
    localtime_r(&st.st_mtime, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &local);
    return text;
}

void Collect(const fs::path& root, const fs::path& dir, const FOLDER_OPTIONS& options,
             std::vector<FOUND_PICTURE>& pictures, std::vector<std::string>& skipped) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec)
        throw CPackError(dir.string() + ": cannot read the folder: " + ec.message());
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            throw CPackError(dir.string() + ": cannot read the folder: " + ec.message());
        const fs::path& p = it->path();
        if (IsHidden(p))
            continue;
        if (it->is_directory(ec)) {
            if (options.bRecursive && !it->is_symlink(ec))
                Collect(root, p, options, pictures, skipped);
            else if (!options.bRecursive)
                skipped.push_back(p.string() + ": a folder; give --recursive to take its pictures");
            continue;
        }
        if (IsOtherPictureName(p)) {
            std::string type = LowerExtension(p).substr(1);
            std::transform(type.begin(), type.end(), type.begin(), ::toupper);
            skipped.push_back(p.string() + ": " + type +
                              " pictures cannot be stored; convert it to JPEG or PNG");
            continue;
        }
        if (!IsPictureName(p))
            continue;
        try {
            CSourceFile::CheckRegular(p.string());
            pictures.push_back({p.lexically_relative(root).generic_string(), std::string()});
        } catch (const CPackError& e) {
            skipped.push_back(e.what());
        }
    }
}

const nlohmann::json& PerPictureSettings(const nlohmann::json& settings, const fs::path& path) {
    static const nlohmann::json noPictures = nlohmann::json::object();
    const nlohmann::json& perPicture =
        settings.contains("pictures") ? settings["pictures"] : noPictures;
    if (!perPicture.is_object())
        throw CPackError(path.string() + ": \"pictures\" must map file names to item fields");
    return perPicture;
}
} // namespace

BOOL CFolderSource::ParseOrder(const std::string& name, FOLDER_ORDER& order) {
    if (name == "natural")
        order = ORDER_NATURAL;
    else if (name == "name")
        order = ORDER_NAME;
    else if (name == "date")
        order = ORDER_DATE;
    else
        return FALSE;
    return TRUE;
}

CString CFolderSource::NameFromFile(const std::string& path) {
    std::string name = fs::path(path).stem().string();
    std::replace(name.begin(), name.end(), '_', ' ');
    std::replace(name.begin(), name.end(), '-', ' ');
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos)
        return CString(fs::path(path).stem().string()); // a name of dashes stays as it is
    return CString(name.substr(first, name.find_last_not_of(' ') + 1 - first));
}

std::vector<std::string> CFolderSource::ListPictures(const std::string& folder,
                                                     const FOLDER_OPTIONS& options,
                                                     std::vector<std::string>& skipped) {
    std::vector<FOUND_PICTURE> found;
    Collect(fs::path(folder), fs::path(folder), options, found, skipped);
    std::sort(skipped.begin(), skipped.end(), CNaturalOrder::Less);
    if (options.order == ORDER_DATE)
        for (FOUND_PICTURE& picture : found)
            picture.sortKey = DateOf(fs::path(folder) / picture.relative);
    std::sort(found.begin(), found.end(), [&](const FOUND_PICTURE& a, const FOUND_PICTURE& b) {
        if (options.order == ORDER_NAME)
            return a.relative < b.relative;
        if (options.order == ORDER_DATE && a.sortKey != b.sortKey)
            return a.sortKey < b.sortKey;
        return CNaturalOrder::Less(a.relative, b.relative);
    });
    std::vector<std::string> pictures;
    for (const FOUND_PICTURE& picture : found)
        pictures.push_back(picture.relative);
    return pictures;
}

PACK_CATALOGUE CFolderSource::Load(const std::string& folder, const FOLDER_OPTIONS& options) {
    PACK_CATALOGUE catalogue;
    const fs::path settingsPath = fs::path(folder) / "collection.json";
    nlohmann::json settings = nlohmann::json::object();
    std::error_code ec;
    // A link to nothing or a FIFO under that name is refused, never taken for no settings.
    if (fs::exists(fs::symlink_status(settingsPath, ec))) {
        settings = CCatalogueJson::ParseFile(settingsPath.string());
        CCatalogueJson::ReadCollectionFields(settings, catalogue, settingsPath.string());
    }
    const nlohmann::json& perPicture = PerPictureSettings(settings, settingsPath);
    const std::vector<std::string> pictures = ListPictures(folder, options, catalogue.skipped);
    // A name under "pictures" that matches no file is a typo that would silently lose details.
    for (const auto& entry : perPicture.items())
        if (std::find(pictures.begin(), pictures.end(), entry.key()) == pictures.end())
            throw CPackError(settingsPath.string() + ": \"pictures\" names \"" + entry.key() +
                             "\", which is not a JPEG or PNG in the folder");
    for (const std::string& relative : pictures) {
        const std::string path = (fs::path(folder) / relative).string();
        PACK_ITEM item =
            perPicture.contains(relative)
                ? CCatalogueJson::ReadItem(perPicture[relative], folder,
                                           settingsPath.string() + " \"" + relative + "\"")
                : PACK_ITEM();
        if (item.m_strName.IsEmpty())
            item.m_strName = NameFromFile(relative);
        // The record keeps the file's name, which no window shows, for extract to give back.
        if (item.m_strField2.IsEmpty())
            item.m_strField2 = fs::path(relative).filename().string();
        item.picturePath = path;
        item.strOrigin = path.c_str();
        catalogue.items.push_back(std::move(item));
    }
    if (settings.contains("items_without_picture")) {
        const nlohmann::json& extra = settings["items_without_picture"];
        if (!extra.is_array())
            throw CPackError(settingsPath.string() + ": \"items_without_picture\" must be a list");
        int n = 0;
        for (const nlohmann::json& j : extra) {
            PACK_ITEM item = CCatalogueJson::ReadItem(
                j, folder, settingsPath.string() + " item without picture " + std::to_string(++n));
            item.picturePath.clear();
            catalogue.items.push_back(std::move(item));
        }
    }
    if (catalogue.items.empty())
        throw CPackError(folder + ": no JPEG or PNG pictures in the folder");
    return catalogue;
}
