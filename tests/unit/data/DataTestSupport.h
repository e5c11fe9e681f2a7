// Shared helpers for the data tests: collections written to disk with the collection writer,
// on top of the fixtures all tests share.
#pragma once

#include <string>
#include <vector>

#include "data/CollectionFile.h"
#include "support/TestFixtures.h"
#include "tools/writer/CollectionWriter.h"

std::vector<BYTE> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);

// An item with its eight texts set to "<tag> 0" ... "<tag> 7".
ITEM_RECORD MakeItem(const std::string& tag);

// Writes the collection into `dir` and opens it; the file stays until `dir` goes.
std::string WriteCollection(const CCollectionWriter& writer, const CScopedTempDir& dir,
                            const std::string& name = "viewer");
