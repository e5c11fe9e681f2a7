#include "tools/pack/FolderSource.h"

#include <algorithm>
#include <filesystem>

#include "tools/pack/CatalogueJson.h"
#include "tools/pack/SourceFile.h"

namespace fs = std::filesystem;

namespace {
bool IsPictureName(const fs::path& p) {
    std::string ext = p.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return (char)std::tolower(c); });
    return ext == ".jpg" || ext == ".jpeg" || ext == ".jpe" || ext == ".png";
}

std::vector<fs::path> PicturesIn(const std::string& folder, std::vector<std::string>& skipped) {
    std::vector<fs::path> pictures;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    if (ec)
        throw CPackError(folder + ": cannot read the folder: " + ec.message());
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        if (ec)
            throw CPackError(folder + ": cannot read the folder: " + ec.message());
        if (!IsPictureName(it->path()))
            continue;
        try {
            CSourceFile::CheckRegular(it->path().string());
            pictures.push_back(it->path());
        } catch (const CPackError& e) {
            skipped.push_back(e.what());
        }
    }
    std::sort(skipped.begin(), skipped.end());
    std::sort(pictures.begin(), pictures.end(), [](const fs::path& a, const fs::path& b) {
        return a.filename().string() < b.filename().string();
    });
    return pictures;
}
} // namespace

PACK_CATALOGUE CFolderSource::Load(const std::string& folder) {
    PACK_CATALOGUE catalogue;
    const fs::path settingsPath = fs::path(folder) / "collection.json";
    nlohmann::json settings = nlohmann::json::object();
    std::error_code ec;
    // A link to nothing or a FIFO under that name is refused, never taken for no settings.
    if (fs::exists(fs::symlink_status(settingsPath, ec))) {
        settings = CCatalogueJson::ParseFile(settingsPath.string());
        CCatalogueJson::ReadCollectionFields(settings, catalogue, settingsPath.string());
    }
    const nlohmann::json noPictures = nlohmann::json::object();
    const nlohmann::json& perPicture =
        settings.contains("pictures") ? settings["pictures"] : noPictures;
    if (!perPicture.is_object())
        throw CPackError(settingsPath.string() +
                         ": \"pictures\" must map file names to item fields");
    const std::vector<fs::path> pictures = PicturesIn(folder, catalogue.skipped);
    // A name under "pictures" that matches no file is a typo that would silently lose details.
    for (const auto& entry : perPicture.items())
        if (std::none_of(pictures.begin(), pictures.end(),
                         [&](const fs::path& p) { return p.filename().string() == entry.key(); }))
            throw CPackError(settingsPath.string() + ": \"pictures\" names \"" + entry.key() +
                             "\", which is not a JPEG or PNG in the folder");
    for (const fs::path& picture : pictures) {
        const std::string file = picture.filename().string();
        const std::string where = picture.string();
        PACK_ITEM item = perPicture.contains(file)
                             ? CCatalogueJson::ReadItem(perPicture[file], folder,
                                                        settingsPath.string() + " \"" + file + "\"")
                             : PACK_ITEM();
        if (item.m_strName.IsEmpty())
            item.m_strName = picture.stem().string();
        item.picturePath = picture.string();
        item.strOrigin = where.c_str();
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
