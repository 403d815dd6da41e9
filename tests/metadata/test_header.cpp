// The three frame-header fields, by table lookup of bytes 2 and 3.

#include "metadata/Mp3Tag_Functions.h"
#include "support/Files.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cstdlib>

using namespace Mp3Tag_Functions;

namespace {

QString writeBytes(const testsupport::TempFolder& dir, const std::string& name, QByteArray bytes)
{
    const QString path = QString::fromStdString(dir.file(name));
    EXPECT_TRUE(testsupport::writeBytes(path, bytes));
    return path;
}

QByteArray header(uint8_t third, uint8_t fourth, int size)
{
    QByteArray bytes(size, '\0');
    bytes[0] = char(0xFF);
    bytes[1] = char(0xFB);
    bytes[2] = char(third);
    bytes[3] = char(fourth);
    return bytes;
}

}  // namespace

TEST(HeaderField, TablesAsTheSystemHasThem)
{
    const QStringList bitrates = {"144", "16",  "32",  "48",  "56",  "64",  "80",  "96",
                                  "112", "128", "160", "192", "224", "256", "320", ""};
    for (int i = 0; i < 16; ++i) EXPECT_EQ(HeaderField(uint8_t(i << 4), 4, 7, 4, BitrateTable), bitrates[i]) << i;
    const QStringList rates = {"44", "48", "32", "??"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(HeaderField(uint8_t(i << 2), 2, 3, 3, SampleRateTable), rates[i]);
    const QStringList modes = {"stereo", "jstereo", "dualch", "mono"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(HeaderField(uint8_t(i << 6), 6, 7, 8, ModeTable), modes[i]);
    // Bits outside the range do not count.
    EXPECT_EQ(HeaderField(0x9F, 4, 7, 4, BitrateTable), "128");
    EXPECT_EQ(HeaderField(0x3F, 6, 7, 8, ModeTable), "stereo");
}

TEST(HeaderSummary, BytesToTheDisplayLine)
{
    const HeaderSummary s = HeaderSummaryOfBytes(0x90, 0x44);
    EXPECT_EQ(s.bitrate, "128");
    EXPECT_EQ(s.sampleRate, "44");
    EXPECT_EQ(s.mode, "jstereo");
    EXPECT_EQ(HeaderSummaryLine(s), "128Kbit  44Khz  jstereo");
    EXPECT_EQ(HeaderSummaryLine(HeaderSummaryOfBytes(0xFC, 0x80)), "Kbit  ??Khz  dualch");
}

TEST(HeaderSummary, FilesOf256BytesAndMoreOnly)
{
    testsupport::TempFolder dir;
    EXPECT_FALSE(ReadHeaderSummary(writeBytes(dir, "255.mp3", header(0x90, 0x44, 255))).decoded);
    const HeaderSummary s = ReadHeaderSummary(writeBytes(dir, "256.mp3", header(0x90, 0x44, 256)));
    EXPECT_TRUE(s.decoded);
    EXPECT_EQ(HeaderSummaryLine(s), "128Kbit  44Khz  jstereo");
    EXPECT_FALSE(ReadHeaderSummary(QString::fromStdString(dir.file("missing.mp3"))).decoded);
    // No frame is looked for: a file that starts with text gives whatever its bytes select.
    const HeaderSummary text = ReadHeaderSummary(writeBytes(dir, "text.mp3", QByteArray(300, 'A')));
    EXPECT_TRUE(text.decoded);
    EXPECT_EQ(text.bitrate, "56");  // 0x41: index 4
}

// An ID3v2 tag in front of the audio: the frame right after it is read, not the tag's bytes.
TEST(HeaderSummary, TheFrameAfterAnId3v2TagAtTheStart)
{
    testsupport::TempFolder dir;
    const auto tagged = [](char flags, int size, const QByteArray& after) {
        QByteArray bytes = QByteArray("ID3\x04\x00", 5) + flags;
        for (int shift : {21, 14, 7, 0}) bytes += char((size >> shift) & 0x7F);  // syncsafe
        return bytes + QByteArray(size, 'x') + after;
    };
    const QByteArray frame = header(0xB0, 0x44, 300);  // 192, 44, jstereo
    EXPECT_EQ(HeaderSummaryLine(ReadHeaderSummary(writeBytes(dir, "v2.mp3", tagged(0, 200, frame)))), "192Kbit  44Khz  jstereo");
    // A footer follows the tag: ten more bytes.
    const QByteArray footer = QByteArray("3DI", 3) + QByteArray(7, '\0');
    EXPECT_EQ(HeaderSummaryLine(ReadHeaderSummary(writeBytes(dir, "footer.mp3", tagged(0x10, 120, footer + frame)))),
              "192Kbit  44Khz  jstereo");
    // No frame where the tag ends, or a tag running past the file: the file's own bytes 2 and 3.
    EXPECT_EQ(ReadHeaderSummary(writeBytes(dir, "junk.mp3", tagged(0, 100, QByteArray(300, 'A')))).bitrate, "48");
    EXPECT_EQ(ReadHeaderSummary(writeBytes(dir, "short.mp3", tagged(0, 100000, {}).left(400))).bitrate, "48");
}

TEST(HeaderSummary, RealEncodedFiles)
{
    testsupport::TempFolder dir;
    struct Encoding {
        int bitrate, rate, channels;
        const char* bitrateText;
        const char* rateText;
        const char* modeText;
    };
    // lame writes joint stereo for two channels.
    const std::vector<Encoding> encodings = {
        {128, 44100, 2, "128", "44", "jstereo"}, {192, 48000, 2, "192", "48", "jstereo"}, {64, 32000, 1, "64", "32", "mono"},
        {320, 44100, 2, "320", "44", "jstereo"}, {112, 48000, 1, "112", "48", "mono"},
    };
    for (const Encoding& e : encodings) {
        const std::string path = dir.file("e" + std::to_string(e.bitrate) + ".mp3");
        const std::string command = "gst-launch-1.0 -q audiotestsrc num-buffers=50 ! audio/x-raw,rate=" + std::to_string(e.rate) +
                                    ",channels=" + std::to_string(e.channels) +
                                    " ! lamemp3enc target=bitrate cbr=true bitrate=" + std::to_string(e.bitrate) +
                                    " ! filesink location=" + path + " >/dev/null 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        const HeaderSummary s = ReadHeaderSummary(QString::fromStdString(path));
        ASSERT_TRUE(s.decoded);
        EXPECT_EQ(s.bitrate, e.bitrateText) << path;
        EXPECT_EQ(s.sampleRate, e.rateText) << path;
        EXPECT_EQ(s.mode, e.modeText) << path;
    }
}
