// The inputs the fuzz campaigns stopped on, kept in the readers' corpora as regression-*, read
// again with what the reader must make of each; every such file must have its row here.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "document/clipboard_dib.h"
#include "document/picture_header.h"

namespace {

const std::filesystem::path Corpora = FUDEMARU_FUZZ_CORPORA;

struct Row {
    const char* corpus; // picture_header or clipboard_dib
    const char* file;
    int accepted;
    IntSize size;
    const char* why;
};

const Row Rows[] = {
    {"picture_header",
     "regression-tall-lzw-tiff",
     1,
     {24, 16912},
     "an LZW code of 9 bits stands for up to 4096 bytes: 872 bytes hold the rows"},
};

std::vector<uint8_t> Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

TEST(FuzzRegressionTest, EachKeptInputIsJudgedAsBefore) {
    std::set<std::string> rowed;
    for (const Row& row : Rows) {
        SCOPED_TRACE(std::string(row.file) + ": " + row.why);
        const std::vector<uint8_t> bytes = Contents(Corpora / row.corpus / row.file);
        ASSERT_FALSE(bytes.empty());
        IntSize size = {0, 0};
        int accepted = 0;
        if (std::string(row.corpus) == "picture_header") {
            PictureHeader header;
            accepted = ReadPictureHeader(bytes.data(), bytes.size(), &header);
            size = header.size;
        } else {
            ClipboardDib dib;
            accepted = ReadClipboardDib(bytes.data(), bytes.size(), &dib);
            size = dib.size;
        }
        EXPECT_EQ(accepted, row.accepted);
        if (row.accepted) {
            EXPECT_TRUE(SameSize(size, row.size)) << size.w << " x " << size.h;
        }
        rowed.insert(std::string(row.corpus) + "/" + row.file);
    }
    for (const char* corpus : {"picture_header", "clipboard_dib"})
        for (const auto& entry : std::filesystem::directory_iterator(Corpora / corpus))
            if (entry.path().filename().string().rfind("regression-", 0) == 0) {
                EXPECT_TRUE(
                    rowed.count(std::string(corpus) + "/" + entry.path().filename().string()))
                    << entry.path() << " has no row";
            }
}

} // namespace
