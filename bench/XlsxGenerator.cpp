#include "bench/XlsxGenerator.h"

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace zrv::bench {

namespace {

constexpr const char* kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Types "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
    "<Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
    "<Default Extension=\"xml\" ContentType=\"application/xml\"/></Types>";
constexpr const char* kPackageRels =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<Relationships "
    "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
    "<Relationship Id=\"rId1\" "
    "Type=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
    "</Relationships>";
constexpr const char* kWorkbook =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<workbook "
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
    "relationships\"><sheets><sheet name=\"Sheet1\" sheetId=\"1\" "
    "r:id=\"rId1\"/></sheets></workbook>";
constexpr const char* kRelType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// The state of one part while libzip reads it.
struct Feed {
  PartProducer produce;
  std::string piece;
  size_t used = 0;
  bool ended = false;
};

zip_int64_t ReadFeed(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
  auto* feed = static_cast<Feed*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN:
    case ZIP_SOURCE_CLOSE:
      return 0;
    case ZIP_SOURCE_READ: {
      while (feed->used == feed->piece.size() && !feed->ended) {
        feed->used = 0;
        feed->ended = !feed->produce(feed->piece);
        if (feed->ended) feed->piece.clear();
      }
      const size_t n = std::min<size_t>(length, feed->piece.size() - feed->used);
      std::memcpy(data, feed->piece.data() + feed->used, n);
      feed->used += n;
      return static_cast<zip_int64_t>(n);
    }
    case ZIP_SOURCE_STAT: {
      auto* stat = static_cast<zip_stat_t*>(data);
      zip_stat_init(stat);
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
      return 0;
    case ZIP_SOURCE_FREE:
      delete feed;
      return 0;
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                            ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
    default:
      return -1;
  }
}

}  // namespace

PartProducer Fixed(std::string text) {
  auto given = std::make_shared<bool>(false);
  return [text = std::move(text), given](std::string& piece) {
    if (*given) return false;
    *given = true;
    piece = text;
    return true;
  };
}

void WritePackage(const std::string& path, std::vector<GeneratedPart> parts) {
  std::string workbookRels =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Relationships "
      "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
      "<Relationship Id=\"rId1\" Type=\"" +
      std::string(kRelType) + "worksheet\" Target=\"worksheets/sheet1.xml\"/>";
  for (const auto& part : parts) {
    if (part.name == "xl/styles.xml")
      workbookRels += "<Relationship Id=\"rId2\" Type=\"" + std::string(kRelType) +
                      "styles\" Target=\"styles.xml\"/>";
    if (part.name == "xl/sharedStrings.xml")
      workbookRels += "<Relationship Id=\"rId3\" Type=\"" + std::string(kRelType) +
                      "sharedStrings\" Target=\"sharedStrings.xml\"/>";
  }
  workbookRels += "</Relationships>";
  parts.push_back({"[Content_Types].xml", Fixed(kContentTypes)});
  parts.push_back({"_rels/.rels", Fixed(kPackageRels)});
  parts.push_back({"xl/workbook.xml", Fixed(kWorkbook)});
  parts.push_back({"xl/_rels/workbook.xml.rels", Fixed(workbookRels)});
  WriteParts(path, std::move(parts));
}

void WriteParts(const std::string& path, std::vector<GeneratedPart> parts) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) throw std::runtime_error("cannot create " + path);
  for (auto& part : parts) {
    // The source owns the feed once it exists (ReadFeed frees it).
    auto feed = std::make_unique<Feed>(Feed{part.produce, {}, 0, false});
    zip_source_t* source = zip_source_function(archive, ReadFeed, feed.get());
    if (source) feed.release();
    const zip_int64_t index =
        source ? zip_file_add(archive, part.name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    if (index < 0 ||
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE,
                                 static_cast<zip_uint32_t>(part.level)) != 0) {
      if (index < 0) zip_source_free(source);  // else the archive owns it
      zip_discard(archive);
      throw std::runtime_error("cannot add " + part.name + " to " + path);
    }
  }
  if (zip_close(archive) != 0) {
    const std::string reason = zip_strerror(archive);
    zip_discard(archive);
    throw std::runtime_error("cannot write " + path + ": " + reason);
  }
}

}  // namespace zrv::bench
