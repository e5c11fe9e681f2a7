#include "tools/pack/PackCommands.h"

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "tools/pack/CatalogueJson.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/Placeholder.h"
#include "tools/pack/ViewerFileReader.h"

using nlohmann::json;

namespace {
json ItemJson(const VIEWER_ITEM& item) {
    const PACK_ITEM& t = item.texts;
    json j = {{"offset", item.nPosition},
              {"name", t.strName.Str()},
              {"line1", t.strLine1.Str()},
              {"field2", t.strField2.Str()},
              {"line2", t.strLine2.Str()},
              {"comments", t.strComments.Str()},
              {"title", t.strCollectionTitle.Str()},
              {"date_created", t.strDateCreated.Str()},
              {"created_by", t.strCreatedBy.Str()}};
    json details = json::array();
    for (const auto& [name, value] : t.details)
        details.push_back({{"name", name.Str()}, {"value", value.Str()}});
    j["details"] = details;
    if (item.bPicture) {
        j["picture"] = {{"bytes", item.jpeg.size()},
                        {"width", item.nWidth},
                        {"height", item.nHeight},
                        {"readable", item.bPictureReadable}};
        if (!item.bPictureReadable)
            j["picture"]["error"] = item.pictureError;
    } else {
        j["picture"] = nullptr;
    }
    if (item.bImageList)
        j["placeholder"] = {{"width", item.imageList.cx},
                            {"height", item.imageList.cy},
                            {"images", item.imageList.nImages}};
    return j;
}

void PrintText(const char* label, const CString& text) {
    if (!text.IsEmpty())
        std::printf("  %-13s %s\n", label, text.GetString());
}

void PrintItem(int index, const VIEWER_ITEM& item) {
    const PACK_ITEM& t = item.texts;
    std::printf("item %d: %s\n", index + 1, t.strName.GetString());
    PrintText("line 1:", t.strLine1);
    PrintText("third text:", t.strField2);
    PrintText("line 2:", t.strLine2);
    PrintText("title:", t.strCollectionTitle);
    PrintText("created by:", t.strCreatedBy);
    PrintText("date created:", t.strDateCreated);
    if (!t.strComments.IsEmpty())
        std::printf("  %-13s %d bytes of text\n", "comments:", t.strComments.GetLength());
    for (const auto& [name, value] : t.details)
        std::printf("  detail:       %s = %s\n", name.GetString(), value.GetString());
    if (item.bPicture && item.bPictureReadable)
        std::printf("  picture:      JPEG, %zu bytes, %d x %d as shown\n", item.jpeg.size(),
                    item.nWidth, item.nHeight);
    else if (item.bPicture)
        std::printf("  picture:      %zu bytes that libjpeg cannot read (%s)\n", item.jpeg.size(),
                    item.pictureError.c_str());
    if (item.bImageList)
        std::printf("  placeholder:  %d x %d image list\n", item.imageList.cx, item.imageList.cy);
}

std::string Numbered(int index, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d%s", index + 1, extension);
    return name;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<BYTE>& bytes) {
    FILE* f = std::fopen(path.c_str(), "wb");
    const bool bOk = f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (f && std::fclose(f) != 0)
        throw CPackError(path.string() + ": cannot write");
    if (!bOk)
        throw CPackError(path.string() + ": cannot write");
}

bool IsBuiltInPlaceholder(const IMAGELIST_DATA& list) {
    static const RGBA_IMAGE builtIn = CPlaceholder::ToImage(CPlaceholder::BuiltIn());
    const RGBA_IMAGE image = CPlaceholder::ToImage(list);
    return image.nWidth == builtIn.nWidth && image.nHeight == builtIn.nHeight &&
           image.pixels == builtIn.pixels;
}
} // namespace

int CPackCommands::Inspect(const std::string& file, bool bJson) {
    CViewerFileReader reader(file);
    if (!bJson) {
        std::printf("file:   %s (%llu bytes, collection index at offset %llu)\n", file.c_str(),
                    (unsigned long long)reader.GetFileLength(),
                    (unsigned long long)reader.GetIndexOffset());
        std::printf("header: %s\nitems:  %d\n", reader.GetHeader().GetString(),
                    reader.GetItemCount());
        for (int i = 0; i < reader.GetItemCount(); ++i)
            PrintItem(i, reader.ReadItem(i));
        return 0;
    }
    json out = {{"file", file},
                {"bytes", reader.GetFileLength()},
                {"header", reader.GetHeader().Str()},
                {"item_count", reader.GetItemCount()}};
    json items = json::array();
    for (int i = 0; i < reader.GetItemCount(); ++i)
        items.push_back(ItemJson(reader.ReadItem(i)));
    out["items"] = items;
    std::printf("%s\n", out.dump(2).c_str());
    return 0;
}

int CPackCommands::Extract(const std::string& file, const std::string& dir) {
    CViewerFileReader reader(file);
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(dir) / "pictures", ec);
    if (ec)
        throw CPackError(dir + ": cannot create the folder: " + ec.message());
    PACK_CATALOGUE catalogue;
    catalogue.strHeader = reader.GetHeader();
    for (int i = 0; i < reader.GetItemCount(); ++i) {
        VIEWER_ITEM item = reader.ReadItem(i);
        PACK_ITEM texts = item.texts;
        if (i == 0) {
            // The first record's collection fields are the collection's own.
            catalogue.strComments = texts.strComments;
            catalogue.strTitle = texts.strCollectionTitle;
            catalogue.strDateCreated = texts.strDateCreated;
            catalogue.strCreatedBy = texts.strCreatedBy;
            texts.strComments = texts.strCollectionTitle = texts.strDateCreated =
                texts.strCreatedBy = CString();
        }
        if (item.bPicture) {
            texts.picturePath = (fs::path(dir) / "pictures" / Numbered(i, ".jpg")).string();
            // Other viewers show the stored picture upright by its flip orientation; build
            // sees the flip cancel its own and stores the same bytes again.
            WriteBytes(texts.picturePath, CJpegMarkers::WithOrientation(item.jpeg, EXIF_FLIPPED));
        } else if (item.bImageList && !IsBuiltInPlaceholder(item.imageList)) {
            texts.placeholderPath =
                (fs::path(dir) / "pictures" / Numbered(i, "-placeholder.png")).string();
            CPictureFile::WritePng(CPlaceholder::ToImage(item.imageList), texts.placeholderPath);
        }
        catalogue.items.push_back(texts);
    }
    CCatalogueJson::Save(catalogue, (fs::path(dir) / "catalogue.json").string());
    return 0;
}
