// Pictures read ahead of their load: whatever happens to the file in between, the load
// gives what a load without the read ahead gives and reports what it reports.
#include <unistd.h>

#include "base/files.h"
#include "base/start_up_task.h"
#include "tests/draw_test_support.h"
#include "tests/story_test_table.h"

using namespace kaDraw;

namespace {

// The reads run on a thread of their own, as they do once the game's first frame is out.
class ReadAhead : public DrawTest {
protected:
    void SetUp() override {
        DrawTest::SetUp();
        ReleaseStartUpTasks();
    }
    void TearDown() override {
        DrawTest::TearDown();
        HoldStartUpTasks();
    }
    void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
        storytest::WriteFile(dir + name, std::string(bytes.begin(), bytes.end()));
    }
    // Everything a load leaves: the id, the entry's size and key, every pixel, the boxes.
    std::string LoadAsAPageTurnDoes(const char* name) {
        std::string path = dir + name;
        RestoreAssetHeader(path.c_str());
        SetKeyFromPixel();
        size_t boxes = headless::MessageBoxes().size();
        int id = LoadObject(name, 2);
        BlankAssetHeader(path.c_str());
        std::string out = std::to_string(id) + " reported: " +
                          (headless::MessageBoxes().size() > boxes ? LastBox() : "nothing");
        const ImageObject& o = ObjectTable[id];
        if (id >= 4 && o.surface) {
            out += " " + std::to_string(o.width) + "x" + std::to_string(o.height) + " key " +
                   std::to_string(o.key) + "/" + std::to_string(o.surface->colourKey);
            for (int y = 0; y < o.height; ++y)
                for (int x = 0; x < o.width; ++x) out += " " + std::to_string(ReadPixel(o.surface, x, y));
        }
        ReleaseObject(id);
        return out;
    }
};

const std::vector<uint8_t> Red = Picture(6, 4, [](int x, int) { return x ? 0xFF0000u : 0x00FF00u; });
const std::vector<uint8_t> Blue = Picture(6, 4, [](int x, int) { return x ? 0x0000FFu : 0x00FF00u; });
const std::vector<uint8_t> Wide = Picture(9, 2, [](int, int y) { return y ? 0x808080u : 0x102030u; });

// Each case writes the file, reads it ahead, lets the read finish, then changes the file
// (or not) before the load; the same load without a read ahead is the reference.
TEST_F(ReadAhead, TheLoadGivesWhatIsOnDiskAtItsClick) {
    std::vector<uint8_t> foreign = Red;
    foreign[0] = 'X';  // no signature the decoder takes
    struct Case {
        const char* name;
        std::vector<uint8_t> before;
        std::function<void(const std::string&)> change;
    } cases[] = {
        {"unchanged", Red, [](const std::string&) {}},
        {"same size, other pixels", Red, [&](const std::string&) { Write("p.sad", Blue); }},
        {"other size", Red, [&](const std::string&) { Write("p.sad", Wide); }},
        {"removed", Red, [](const std::string& path) { unlink(path.c_str()); }},
        {"mended after a broken read", std::vector<uint8_t>(80, 'x'),
         [&](const std::string&) { Write("p.sad", Red); }},
        {"signature lost", Red, [&](const std::string&) { Write("p.sad", foreign); }},
    };
    for (const Case& c : cases) {
        Write("p.sad", c.before);
        size_t boxes = headless::MessageBoxes().size();
        ReadAheadObject("p.sad");
        AwaitReadAhead();
        EXPECT_EQ(headless::MessageBoxes().size(), boxes) << c.name << ": a read ahead reports nothing";
        c.change(dir + "p.sad");
        std::string ahead = LoadAsAPageTurnDoes("p.sad");
        EXPECT_EQ(ahead, LoadAsAPageTurnDoes("p.sad")) << c.name;
    }
}

// Closing the screen with a read under way frees it (the checking build would see a leak).
TEST_F(ReadAhead, AReadUnderWayIsFreedWithTheScreen) {
    Write("a.sad", Red);
    ReadAheadObject("a.sad");
    CloseMedia();
    ReadAheadObject("a.sad");  // no screen: nothing is read
}

// What a read ahead keeps of its file: the digest of the file read in pieces is that of
// its bytes after the head, at every size about a piece's edge, and any one byte changed
// changes it; a file over the bound is refused.
TEST_F(ReadAhead, TheDigestOfAFileReadInPiecesIsThatOfItsBytes) {
    const size_t piece = size_t(64) << 10;
    for (size_t size :
         {size_t(0), size_t(1), size_t(3), size_t(10), piece + 1, piece + 2, piece + 3, 2 * piece + 9}) {
        std::vector<uint8_t> bytes(size), head;
        for (size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 131 + (i >> 9));
        Write("d.bin", bytes);
        size_t kept = std::min<size_t>(size, 2);
        uint64_t whole = DigestBytes(bytes.data() + kept, size - kept), digest = 0;
        ASSERT_TRUE(DigestFile((dir + "d.bin").c_str(), size, 2, &head, &digest)) << size;
        EXPECT_EQ(head, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(kept)));
        EXPECT_EQ(digest, whole) << size;
        for (size_t at = 2; at < size; at += size / 3 + 1) {
            bytes[at] ^= 0x40;
            EXPECT_NE(DigestBytes(bytes.data() + 2, size - 2), whole) << size << " at " << at;
            bytes[at] ^= 0x40;
        }
        if (size) {
            EXPECT_FALSE(DigestFile((dir + "d.bin").c_str(), size - 1, 2, &head, &digest)) << size;
        }
    }
}

}  // namespace
