#include "tools/pack/CatalogueJson.h"

#include <climits>
#include <filesystem>
#include <fstream>

#include "tools/pack/SourceFile.h"

using nlohmann::json;
using ordered = nlohmann::ordered_json;

namespace {
CString TextAt(const json& object, const char* key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return CString();
    if (it->is_string())
        return CString(it->get<std::string>());
    if (it->is_number() || it->is_boolean())
        return CString(it->dump());
    throw CPackError(where + ": \"" + key + "\" must be text");
}

std::string PathAt(const json& object, const char* key, const std::string& baseDir,
                   const std::string& where) {
    const CString path = TextAt(object, key, where);
    if (path.IsEmpty())
        return std::string();
    const std::filesystem::path p(path.Str());
    return p.is_absolute() ? p.string() : (std::filesystem::path(baseDir) / p).string();
}

void ReadDetails(const json& list, PACK_ITEM& item, const std::string& where) {
    if (list.is_null())
        return;
    if (!list.is_array())
        throw CPackError(where + ": \"details\" must be a list");
    for (const json& d : list) {
        if (d.is_array() && d.size() == 2 && d[0].is_string() && d[1].is_string())
            item.details.emplace_back(CString(d[0].get<std::string>()),
                                      CString(d[1].get<std::string>()));
        else if (d.is_object())
            item.details.emplace_back(TextAt(d, "name", where), TextAt(d, "value", where));
        else
            throw CPackError(where +
                             ": a detail must be {\"name\": ..., \"value\": ...} or [name, value]");
    }
}

json Text(const CString& s) {
    return json(s.Str());
}
} // namespace

json CCatalogueJson::ParseFile(const std::string& path) {
    const std::string text = CSourceFile::ReadAll(path);
    try {
        return json::parse(text);
    } catch (const json::parse_error& e) {
        std::string what = e.what();
        const size_t colon = what.find("error");
        throw CPackError(path + ": not valid JSON (at byte " + std::to_string(e.byte) +
                         "): " + (colon == std::string::npos ? what : what.substr(colon)));
    }
}

void CCatalogueJson::ReadCollectionFields(const json& j, PACK_CATALOGUE& catalogue,
                                          const std::string& where) {
    if (!j.is_object())
        throw CPackError(where + ": must be a JSON object");
    if (j.contains("version"))
        catalogue.strHeader = TextAt(j, "version", where);
    catalogue.strTitle = TextAt(j, "title", where);
    catalogue.strCreatedBy = TextAt(j, "created_by", where);
    catalogue.strDateCreated = TextAt(j, "date_created", where);
    catalogue.strComments = TextAt(j, "comments", where);
}

PACK_ITEM CCatalogueJson::ReadItem(const json& j, const std::string& baseDir,
                                   const std::string& where) {
    if (!j.is_object())
        throw CPackError(where + ": an item must be a JSON object");
    PACK_ITEM item;
    item.strOrigin = where.c_str();
    if (j.contains("same_as")) {
        const json& same = j["same_as"];
        if (!same.is_number_integer() || same.get<long long>() < 1 ||
            same.get<long long>() > INT_MAX)
            throw CPackError(where + ": \"same_as\" must be the number of an earlier item");
        if (j.size() != 1)
            throw CPackError(where + ": an item with \"same_as\" takes everything from that item "
                                     "and has no other keys");
        item.nSameAs = (int)(same.get<long long>() - 1);
        return item;
    }
    item.m_strName = TextAt(j, "name", where);
    item.m_strLine1 = TextAt(j, "line1", where);
    // Catalogues written before the hidden text had its name call it "field2".
    item.m_strField2 = TextAt(j, j.contains("hidden_text") ? "hidden_text" : "field2", where);
    item.m_strLine2 = TextAt(j, "line2", where);
    item.m_strComments = TextAt(j, "comments", where);
    item.m_strCollectionTitle = TextAt(j, "title", where);
    item.m_strDateCreated = TextAt(j, "date_created", where);
    item.m_strCreatedBy = TextAt(j, "created_by", where);
    if (j.contains("details"))
        ReadDetails(j["details"], item, where);
    item.picturePath = PathAt(j, "picture", baseDir, where);
    item.placeholderPath = PathAt(j, "placeholder", baseDir, where);
    return item;
}

PACK_CATALOGUE CCatalogueJson::Load(const std::string& path) {
    const json j = ParseFile(path);
    PACK_CATALOGUE catalogue;
    ReadCollectionFields(j, catalogue, path);
    const std::string baseDir = std::filesystem::path(path).parent_path().string();
    const auto items = j.find("items");
    if (items == j.end() || !items->is_array())
        throw CPackError(path + ": \"items\" must be a list of items");
    int n = 0;
    for (const json& item : *items) {
        ++n;
        std::string where = path + " item " + std::to_string(n);
        if (item.is_object() && item.contains("name") && item["name"].is_string())
            where += " (\"" + item["name"].get<std::string>() + "\")";
        catalogue.items.push_back(ReadItem(item, baseDir, where));
    }
    return catalogue;
}

void CCatalogueJson::Save(const PACK_CATALOGUE& catalogue, const std::string& path) {
    const std::string text = Format(catalogue, std::filesystem::path(path).parent_path().string());
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush())
        throw CPackError(path + ": cannot write");
}

std::string CCatalogueJson::Format(const PACK_CATALOGUE& catalogue, const std::string& baseDir) {
    ordered j = ordered::object();
    // Keys in the order people read them: the collection, then its items.
    j["version"] = Text(catalogue.strHeader);
    j["title"] = Text(catalogue.strTitle);
    j["created_by"] = Text(catalogue.strCreatedBy);
    j["date_created"] = Text(catalogue.strDateCreated);
    j["comments"] = Text(catalogue.strComments);
    const std::filesystem::path base(baseDir);
    ordered items = ordered::array();
    for (const PACK_ITEM& item : catalogue.items) {
        ordered i = ordered::object();
        if (item.nSameAs >= 0) {
            i["same_as"] = item.nSameAs + 1;
            items.push_back(i);
            continue;
        }
        i["name"] = Text(item.m_strName);
        i["line1"] = Text(item.m_strLine1);
        i["line2"] = Text(item.m_strLine2);
        if (!item.m_strField2.IsEmpty())
            i["hidden_text"] = Text(item.m_strField2);
        const std::pair<const char*, const CString*> own[] = {
            {"comments", &item.m_strComments},
            {"title", &item.m_strCollectionTitle},
            {"date_created", &item.m_strDateCreated},
            {"created_by", &item.m_strCreatedBy}};
        for (const auto& [key, value] : own)
            if (!value->IsEmpty())
                i[key] = Text(*value);
        ordered details = ordered::array();
        for (const auto& [name, value] : item.details)
            details.push_back({{"name", name.Str()}, {"value", value.Str()}});
        i["details"] = details;
        auto relative = [&](const std::string& p) {
            return std::filesystem::path(p).lexically_relative(base).string();
        };
        i["picture"] =
            item.picturePath.empty() ? ordered(nullptr) : ordered(relative(item.picturePath));
        if (!item.placeholderPath.empty())
            i["placeholder"] = relative(item.placeholderPath);
        items.push_back(i);
    }
    j["items"] = items;
    return j.dump(2) + '\n';
}
