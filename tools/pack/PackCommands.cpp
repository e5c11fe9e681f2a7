#include "tools/pack/PackCommands.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <set>
#include <unordered_map>

#include "tools/pack/CatalogueJson.h"
#include "tools/pack/ExtractFolder.h"
#include "tools/pack/JpegMarkers.h"
#include "tools/pack/Placeholder.h"
#include "tools/pack/TerminalText.h"
#include "tools/pack/ViewerFileReader.h"

using nlohmann::json;

namespace {
json ItemJson(const VIEWER_ITEM& item) {
    const PACK_ITEM& t = item.texts;
    // The collection's four fields are repeated in every record; the viewer shows the first's.
    json j = {{"offset", item.nPosition},
              {"name", t.m_strName.Str()},
              {"line1", t.m_strLine1.Str()},
              {"line2", t.m_strLine2.Str()},
              {"hidden_text", t.m_strField2.Str()},
              {"collection_title", t.m_strCollectionTitle.Str()},
              {"collection_created_by", t.m_strCreatedBy.Str()},
              {"collection_date_created", t.m_strDateCreated.Str()},
              {"collection_comments", t.m_strComments.Str()}};
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

void PrintCollectionFields(const PACK_ITEM& t, const char* prefix) {
    const std::string title = std::string(prefix) + "title:";
    const std::string creator = std::string(prefix) + "created by:";
    const std::string date = std::string(prefix) + "date created:";
    PrintText(title.c_str(), t.m_strCollectionTitle);
    PrintText(creator.c_str(), t.m_strCreatedBy);
    PrintText(date.c_str(), t.m_strDateCreated);
    if (!t.m_strComments.IsEmpty())
        std::printf("  %-13s %d bytes of text\n", (std::string(prefix) + "comments:").c_str(),
                    t.m_strComments.GetLength());
}

void PrintItem(int index, const VIEWER_ITEM& item) {
    const PACK_ITEM& t = item.texts;
    if (index == 0) {
        // The viewer takes the collection's title, creator, date and comments from here.
        std::printf("collection (from the first item's record):\n");
        PrintCollectionFields(t, "");
    }
    std::printf("item %d: %s\n", index + 1, Shown(t.m_strName).c_str());
    PrintText("line 1:", t.m_strLine1);
    PrintText("line 2:", t.m_strLine2);
    PrintText("hidden text:", t.m_strField2);
    // Later records may repeat the collection's fields; no window shows them.
    if (index != 0)
        PrintCollectionFields(t, "unshown ");
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

// The name a picture had when it was packed from a folder, which keeps it in the hidden text,
// with the extension of what is stored; empty when the text is no plain picture file name or
// another picture has that name already.
std::string OriginalName(const CString& hidden, std::set<std::string>& used) {
    const std::string name = hidden.Str();
    const size_t dot = name.rfind('.');
    if (name.empty() || name[0] == '.' || dot == std::string::npos || dot == 0 ||
        name.size() > 200 || name.find('/') != std::string::npos)
        return std::string();
    for (unsigned char c : name)
        if (c < ' ' || c == 0x7F || c == '\\')
            return std::string();
    std::string extension = name.substr(dot);
    for (char& c : extension)
        c = (char)std::tolower((unsigned char)c);
    if (extension != ".jpg" && extension != ".jpeg" && extension != ".jpe" && extension != ".png")
        return std::string();
    const std::string stored = extension == ".png" ? name.substr(0, dot) + ".jpg" : name;
    // Numbered names ("0007.jpg") stay free for the pictures without one.
    const bool bNumbered = stored.size() == 8 && stored.compare(4, 4, ".jpg") == 0 &&
                           std::all_of(stored.begin(), stored.begin() + 4,
                                       [](unsigned char c) { return std::isdigit(c); });
    if (bNumbered || !used.insert(stored).second)
        return std::string();
    return stored;
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
        std::printf("version text: %s (the About box shows it)\nitems:  %d\n",
                    Shown(reader.GetHeader()).c_str(), reader.GetItemCount());
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
                {"version", reader.GetHeader().Str()},
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
    std::set<std::string> usedNames;
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
            std::string name = OriginalName(texts.m_strField2, usedNames);
            if (name.empty())
                name = Numbered(i, ".jpg");
            texts.picturePath = folder.PicturePath(name);
            // Other viewers show the stored picture upright by its flip orientation; build
            // sees the flip cancel its own and stores the same bytes again.
            WriteBytes(folder, name, CJpegMarkers::WithOrientation(item.jpeg, EXIF_FLIPPED));
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
