#include "tools/pack/PackCommands.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "tools/pack/CatalogueJson.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/ExtractFolder.h"
#include "tools/pack/Placeholder.h"
#include "tools/pack/TerminalText.h"
#include "tools/pack/ViewerFileReader.h"

using nlohmann::json;

namespace {
json ItemJson(const VIEWER_ITEM& item) {
    const PACK_ITEM& t = item.texts;
    json j = {{"offset", item.nPosition},
              {"name", t.m_strName.Str()},
              {"line1", t.m_strLine1.Str()},
              {"field2", t.m_strField2.Str()},
              {"line2", t.m_strLine2.Str()},
              {"comments", t.m_strComments.Str()},
              {"title", t.m_strCollectionTitle.Str()},
              {"date_created", t.m_strDateCreated.Str()},
              {"created_by", t.m_strCreatedBy.Str()}};
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

std::string Shown(const CString& text) {
    return CTerminalText::Escape(text.Str());
}

void PrintText(const char* label, const CString& text) {
    if (!text.IsEmpty())
        std::printf("  %-13s %s\n", label, Shown(text).c_str());
}

void PrintItem(int index, const VIEWER_ITEM& item) {
    const PACK_ITEM& t = item.texts;
    std::printf("item %d: %s\n", index + 1, Shown(t.m_strName).c_str());
    PrintText("line 1:", t.m_strLine1);
    PrintText("third text:", t.m_strField2);
    PrintText("line 2:", t.m_strLine2);
    PrintText("title:", t.m_strCollectionTitle);
    PrintText("created by:", t.m_strCreatedBy);
    PrintText("date created:", t.m_strDateCreated);
    if (!t.m_strComments.IsEmpty())
        std::printf("  %-13s %d bytes of text\n", "comments:", t.m_strComments.GetLength());
    for (const auto& [name, value] : t.details)
        std::printf("  detail:       %s = %s\n", Shown(name).c_str(), Shown(value).c_str());
    if (item.bPicture && item.bPictureReadable)
        std::printf("  picture:      JPEG, %zu bytes, %d x %d as shown\n", item.jpeg.size(),
                    item.nWidth, item.nHeight);
    else if (item.bPicture)
        std::printf("  picture:      %zu bytes that libjpeg cannot read (%s)\n", item.jpeg.size(),
                    CTerminalText::Escape(item.pictureError).c_str());
    if (item.bImageList && CPlaceholder::HasImage(item.imageList))
        std::printf("  placeholder:  %d x %d image list\n", item.imageList.cx, item.imageList.cy);
    else if (item.bImageList)
        std::printf("  placeholder:  an image list without images\n");
}

std::string Numbered(int index, const char* extension) {
    char name[32];
    std::snprintf(name, sizeof name, "%04d%s", index + 1, extension);
    return name;
}

// Every picture and placeholder extract writes goes through here, into the folder that never
// follows a link nor replaces a file.
void WriteBytes(CExtractFolder& folder, const std::string& name, const std::vector<BYTE>& bytes) {
    folder.WritePicture(name, bytes);
}

// Index entries that point at a record already met: such a record is read and written once.
class CSharedRecords {
public:
    // The first item placed at `position`; `index` itself when it is the first.
    int FirstWith(ULONGLONG position, int index) {
        return m_first.emplace(position, index).first->second;
    }

private:
    std::unordered_map<ULONGLONG, int> m_first;
};

bool IsBuiltInPlaceholder(const IMAGELIST_DATA& list) {
    static const RGBA_IMAGE builtIn = CPlaceholder::ToImage(CPlaceholder::BuiltIn());
    const RGBA_IMAGE image = CPlaceholder::ToImage(list);
    return image.nWidth == builtIn.nWidth && image.nHeight == builtIn.nHeight &&
           image.pixels == builtIn.pixels;
}
} // namespace

int CPackCommands::Inspect(const std::string& file, bool bJson) {
    CViewerFileReader reader(file);
    CSharedRecords shared;
    if (!bJson) {
        std::printf("file:   %s (%llu bytes, collection index at offset %llu)\n",
                    CTerminalText::Escape(file).c_str(), (unsigned long long)reader.GetFileLength(),
                    (unsigned long long)reader.GetIndexOffset());
        std::printf("header: %s\nitems:  %d\n", Shown(reader.GetHeader()).c_str(),
                    reader.GetItemCount());
        for (int i = 0; i < reader.GetItemCount(); ++i) {
            const int nFirst = shared.FirstWith(reader.GetItemPosition(i), i);
            if (nFirst == i)
                PrintItem(i, reader.ReadItem(i));
            else
                std::printf("item %d: the record of item %d again\n", i + 1, nFirst + 1);
        }
        return 0;
    }
    json out = {{"file", file},
                {"bytes", reader.GetFileLength()},
                {"header", reader.GetHeader().Str()},
                {"item_count", reader.GetItemCount()}};
    json items = json::array();
    for (int i = 0; i < reader.GetItemCount(); ++i) {
        const int nFirst = shared.FirstWith(reader.GetItemPosition(i), i);
        if (nFirst == i)
            items.push_back(ItemJson(reader.ReadItem(i)));
        else
            items.push_back({{"offset", reader.GetItemPosition(i)}, {"same_as", nFirst + 1}});
    }
    out["items"] = items;
    std::printf("%s\n", out.dump(2).c_str());
    return 0;
}

int CPackCommands::Extract(const std::string& file, const std::string& dir, bool bForce) {
    CViewerFileReader reader(file);
    CExtractFolder folder(dir, bForce);
    CSharedRecords shared;
    PACK_CATALOGUE catalogue;
    catalogue.strHeader = reader.GetHeader();
    for (int i = 0; i < reader.GetItemCount(); ++i) {
        const int nFirst = shared.FirstWith(reader.GetItemPosition(i), i);
        if (nFirst != i) {
            PACK_ITEM repeat;
            repeat.nSameAs = nFirst;
            catalogue.items.push_back(repeat);
            continue;
        }
        VIEWER_ITEM item = reader.ReadItem(i);
        PACK_ITEM texts = item.texts;
        if (i == 0) {
            // The first record's collection fields are the collection's own.
            catalogue.strComments = texts.m_strComments;
            catalogue.strTitle = texts.m_strCollectionTitle;
            catalogue.strDateCreated = texts.m_strDateCreated;
            catalogue.strCreatedBy = texts.m_strCreatedBy;
            texts.m_strComments = texts.m_strCollectionTitle = texts.m_strDateCreated =
                texts.m_strCreatedBy = CString();
        }
        if (item.bPicture) {
            texts.picturePath = folder.PicturePath(Numbered(i, ".jpg"));
            // Other viewers show the stored picture upright by its flip orientation; build
            // sees the flip cancel its own and stores the same bytes again.
            WriteBytes(folder, Numbered(i, ".jpg"),
                       CJpegMarkers::WithOrientation(item.jpeg, EXIF_FLIPPED));
        } else if (item.bImageList && !CPlaceholder::HasImage(item.imageList)) {
            std::fprintf(stderr,
                         "slideshow-pack: item %d: its image list holds no image; the catalogue "
                         "names no placeholder for it\n",
                         i + 1);
        } else if (item.bImageList && !IsBuiltInPlaceholder(item.imageList)) {
            texts.placeholderPath = folder.PicturePath(Numbered(i, "-placeholder.png"));
            WriteBytes(folder, Numbered(i, "-placeholder.png"),
                       CPictureFile::EncodePng(CPlaceholder::ToImage(item.imageList)));
        }
        catalogue.items.push_back(texts);
    }
    folder.WriteCatalogue(CCatalogueJson::Format(catalogue, dir));
    folder.Commit();
    return 0;
}
