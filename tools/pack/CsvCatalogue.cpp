#include "tools/pack/CsvCatalogue.h"

#include <algorithm>
#include <filesystem>

#include "framework/core/TextEncoding.h"
#include "tools/pack/CsvReader.h"
#include "tools/pack/SourceFile.h"

namespace {
enum COLUMN_ROLE { COLUMN_DETAIL, COLUMN_NAME, COLUMN_LINE1, COLUMN_LINE2, COLUMN_PICTURE };

COLUMN_ROLE RoleOf(std::string header) {
    std::string key;
    for (unsigned char c : header)
        if (!std::isspace(c) && c != '_')
            key += (char)std::tolower(c);
    if (key == "name")
        return COLUMN_NAME;
    if (key == "line1" || key == "caption1")
        return COLUMN_LINE1;
    if (key == "line2" || key == "caption2")
        return COLUMN_LINE2;
    if (key == "picture" || key == "image" || key == "file")
        return COLUMN_PICTURE;
    return COLUMN_DETAIL;
}

bool IsUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const unsigned char c = (unsigned char)s[i];
        const int n = c < 0x80         ? 0
                      : (c >> 5) == 6  ? 1
                      : (c >> 4) == 14 ? 2
                      : (c >> 3) == 30 ? 3
                                       : -1;
        if (n < 0)
            return false;
        for (int k = 1; k <= n; ++k)
            if (i + (size_t)k >= s.size() || ((unsigned char)s[i + (size_t)k] >> 6) != 2)
                return false;
        i += (size_t)n + 1;
    }
    return true;
}
} // namespace

PACK_CATALOGUE CCsvCatalogue::Load(const std::string& path) {
    std::string text = CSourceFile::ReadAll(path);
    if (!IsUtf8(text))
        text = AnsiToUtf8(reinterpret_cast<const BYTE*>(text.data()), text.size()).Str();
    const std::vector<CSV_RECORD> records = CCsvReader::Parse(text, path);
    if (records.empty())
        throw CPackError(path + ": empty; a header row and one row per item are needed");
    const std::vector<std::string>& headers = records[0].fields;
    std::vector<COLUMN_ROLE> roles;
    for (const std::string& h : headers)
        roles.push_back(RoleOf(h));
    if (std::find(roles.begin(), roles.end(), COLUMN_NAME) == roles.end())
        throw CPackError(path + " line 1: no \"name\" column in the header row");
    const std::filesystem::path base = std::filesystem::path(path).parent_path();

    PACK_CATALOGUE catalogue;
    for (size_t r = 1; r < records.size(); ++r) {
        const CSV_RECORD& record = records[r];
        const std::string where = path + " line " + std::to_string(record.nLine);
        if (record.fields.size() > headers.size())
            throw CPackError(where + ": " + std::to_string(record.fields.size()) + " fields but " +
                             std::to_string(headers.size()) + " columns");
        PACK_ITEM item;
        item.strOrigin = where.c_str();
        for (size_t c = 0; c < headers.size(); ++c) {
            const std::string value = c < record.fields.size() ? record.fields[c] : std::string();
            switch (roles[c]) {
            case COLUMN_NAME:
                item.m_strName = value;
                break;
            case COLUMN_LINE1:
                item.m_strLine1 = value;
                break;
            case COLUMN_LINE2:
                item.m_strLine2 = value;
                break;
            case COLUMN_PICTURE:
                if (!value.empty()) {
                    const std::filesystem::path p(value);
                    item.picturePath = p.is_absolute() ? value : (base / p).string();
                }
                break;
            case COLUMN_DETAIL:
                item.details.emplace_back(CString(headers[c]), CString(value));
                break;
            }
        }
        catalogue.items.push_back(std::move(item));
    }
    if (catalogue.items.empty())
        throw CPackError(path + ": no items below the header row");
    return catalogue;
}
