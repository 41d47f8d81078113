#include "FullDisk.h"
#include "TempDir.h"
#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "hostapp/media/CLumCopyPaste.h"
#include "hostapp/media/CLumPodcastConverter.h"
#include "hostapp/urls/UrlUtil.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <taglib/fileref.h>

#include <cmath>
#include <memory>
#include <set>

namespace {

// Writes `seconds` of a quiet tone in the given libsndfile format.
void writeTone(const std::filesystem::path& path, int format, int rate, int channels,
               double seconds) {
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format;
    SNDFILE* f = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(f, nullptr) << sf_strerror(nullptr);
    auto frames = static_cast<sf_count_t>(std::llround(seconds * rate));
    std::vector<float> chunk(static_cast<size_t>(1024 * channels));
    for (sf_count_t done = 0; done < frames;) {
        sf_count_t n = std::min<sf_count_t>(1024, frames - done);
        for (sf_count_t i = 0; i < n; ++i) {
            for (int c = 0; c < channels; ++c) {
                chunk[static_cast<size_t>(i * channels + c)] =
                    0.2f * static_cast<float>(
                               std::sin(2 * M_PI * 440.0 * static_cast<double>(done + i) / rate));
            }
        }
        ASSERT_EQ(sf_writef_float(f, chunk.data(), n), n);
        done += n;
    }
    sf_close(f);
}

std::optional<double> durationOf(const TempDir& dir, const std::string& name) {
    double seconds = -1;
    CLumCopyPaste media(false);
    if (!media.getMediaDuration(seconds, CString(dir.windows(name)), false)) {
        return std::nullopt;
    }
    return seconds;
}

// A minimal MPEG-4 audio file: the parts a reader needs for the length and
// the stream (an audio track whose media header gives time scale and
// duration, and its AAC sample description with channels and rate).
std::string minimalM4a(uint32_t timescale, uint32_t duration) {
    auto be16 = [](uint32_t v) {
        return std::string{static_cast<char>(v >> 8), static_cast<char>(v)};
    };
    auto be32 = [&](uint32_t v) { return be16(v >> 16) + be16(v & 0xFFFF); };
    auto atom = [&](const char* type, const std::string& body) {
        return be32(static_cast<uint32_t>(8 + body.size())) + type + body;
    };
    std::string mdhd =
        atom("mdhd", be32(0) + be32(0) + be32(0) + be32(timescale) + be32(duration) + be32(0));
    std::string hdlr = atom(
        "hdlr", be32(0) + be32(0) + "soun" + be32(0) + be32(0) + be32(0) + std::string(1, '\0'));
    std::string mp4a =
        atom("mp4a", std::string(6, '\0') + be16(1) + be16(0) + be16(0) + be32(0) + be16(2) +
                         be16(16) + be16(0) + be16(0) + be16(44100) + be16(0));
    std::string stsd = atom("stsd", be32(0) + be32(1) + mp4a);
    std::string minf = atom("minf", atom("stbl", stsd));
    std::string moov = atom("moov", atom("trak", atom("mdia", mdhd + hdlr + minf)));
    return atom("ftyp", std::string("M4A ") + be32(0) + "M4A mp42isom") + moov;
}

}  // namespace

TEST(MediaDuration, ReadsTheLengthOfEachCommonAudioFormat) {
    TempDir dir;
    writeTone(dir.native("talk.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 2.5);
    writeTone(dir.native("talk.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 1, 3.25);
    writeTone(dir.native("talk.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 44100, 2, 4.0);
    writeTone(dir.native("talk.aiff"), SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 22050, 1, 1.5);
    dir.write("talk.m4a", minimalM4a(1000, 61500));
    EXPECT_NEAR(durationOf(dir, "talk.wav").value_or(-1), 2.5, 0.01);
    EXPECT_NEAR(durationOf(dir, "talk.flac").value_or(-1), 3.25, 0.01);
    EXPECT_NEAR(durationOf(dir, "talk.ogg").value_or(-1), 4.0, 0.05);
    EXPECT_NEAR(durationOf(dir, "talk.aiff").value_or(-1), 1.5, 0.01);
    EXPECT_NEAR(durationOf(dir, "talk.m4a").value_or(-1), 61.5, 0.01);

    // The editor hands over the file URL it stores in the feed.
    double seconds = 0;
    CLumCopyPaste media(false);
    EXPECT_TRUE(
        media.getMediaDuration(seconds, cat_file_colon(CString(dir.windows("talk.wav"))), false));
    EXPECT_NEAR(seconds, 2.5, 0.01);
}

TEST(MediaDuration, AnswersFalseForWhatItCannotRead) {
    TempDir dir;
    dir.write("notes.mp3", "this is not audio at all\n");
    dir.write("empty.wav", "");
    std::filesystem::create_directories(dir.path() / "folder.wav");
    EXPECT_EQ(durationOf(dir, "notes.mp3"), std::nullopt);
    EXPECT_EQ(durationOf(dir, "empty.wav"), std::nullopt);
    EXPECT_EQ(durationOf(dir, "folder.wav"), std::nullopt);
    EXPECT_EQ(durationOf(dir, "missing.wav"), std::nullopt);
    double seconds = 7;
    CLumCopyPaste media(false);
    EXPECT_FALSE(media.getMediaDuration(seconds, u"http://example.com/a.mp3", false));
    EXPECT_FALSE(media.getMediaDuration(seconds, u"", false));
    EXPECT_EQ(seconds, 7) << "a failed read leaves the value alone";
}

class Converter : public testing::Test {
  protected:
    std::unique_ptr<CLumPodcastConverter> make() {
        void* fn = CLumDllFunctionEngineer::getInstance()->GetFunctionAddr(40220);
        EXPECT_NE(fn, nullptr);
        if (fn == nullptr) {
            return nullptr;
        }
        return std::unique_ptr<CLumPodcastConverter>(
            reinterpret_cast<CreatePodcastConverterFn>(fn)());
    }
    TempDir dir;
};

TEST_F(Converter, WritesAnMp3BesideTheSourceWithTheRightLength) {
    auto converter = make();
    ASSERT_TRUE(converter);
    ASSERT_TRUE(converter->isAvailable()) << "Debian's libsndfile encodes MP3 through LAME";
    writeTone(dir.native("episode one.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 3.2);
    CLumiTuneTrack track;
    mode_t oldMask = ::umask(022);
    CString mp3 = converter->convert(CString(dir.windows("episode one.wav")), &track);
    ::umask(oldMask);
    EXPECT_EQ(mp3, CString(dir.windows("episode one.mp3")));
    struct stat st {};
    ASSERT_EQ(::stat(dir.native("episode one.mp3").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u) << "a published MP3 must be readable by the web server";
    EXPECT_EQ(track.m_nDuration, 4) << "3.2 seconds play into the fourth";
    TagLib::FileRef back(dir.native("episode one.mp3").c_str());
    ASSERT_FALSE(back.isNull());
    ASSERT_NE(back.audioProperties(), nullptr);
    EXPECT_NEAR(back.audioProperties()->lengthInMilliseconds() / 1000.0, 3.2, 0.1);
    EXPECT_EQ(back.audioProperties()->channels(), 2);
    EXPECT_EQ(back.audioProperties()->sampleRate(), 44100);

    // A second conversion never replaces the first.
    CLumiTuneTrack again;
    EXPECT_EQ(converter->convert(cat_file_colon(CString(dir.windows("episode one.wav"))), &again),
              CString(dir.windows("episode one~1.mp3")));
    EXPECT_EQ(dir.names(),
              (std::set<std::string>{"episode one.wav", "episode one.mp3", "episode one~1.mp3"}));
}

TEST_F(Converter, FoldsManyChannelsAndHighRatesIntoWhatMp3Carries) {
    auto converter = make();
    ASSERT_TRUE(converter);
    writeTone(dir.native("studio.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 96000, 5, 2.0);
    CLumiTuneTrack track;
    CString mp3 = converter->convert(CString(dir.windows("studio.flac")), &track);
    ASSERT_EQ(mp3, CString(dir.windows("studio.mp3")));
    EXPECT_EQ(track.m_nDuration, 2);
    TagLib::FileRef back(dir.native("studio.mp3").c_str());
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.audioProperties()->sampleRate(), 48000);
    EXPECT_EQ(back.audioProperties()->channels(), 2);
    EXPECT_NEAR(back.audioProperties()->lengthInMilliseconds() / 1000.0, 2.0, 0.1);
}

TEST_F(Converter, DecodesEachAudioFormatLibsndfileReads) {
    auto converter = make();
    ASSERT_TRUE(converter);
    const std::pair<const char*, int> sources[] = {
        {"a.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {"b.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
        {"c.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
        {"d.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS},
    };
    for (const auto& [name, format] : sources) {
        SCOPED_TRACE(name);
        writeTone(dir.native(name), format, 48000, 1, 1.5);
        CLumiTuneTrack track;
        CString mp3 = converter->convert(CString(dir.windows(name)), &track);
        ASSERT_FALSE(mp3.IsEmpty());
        EXPECT_EQ(track.m_nDuration, 2);
        double seconds = 0;
        EXPECT_TRUE(CLumCopyPaste(false).getMediaDuration(seconds, mp3, false));
        EXPECT_NEAR(seconds, 1.5, 0.1);
    }
}

TEST_F(Converter, ASourceWithTheLongestNameGetsAnMp3NameThatFits) {
    auto converter = make();
    ASSERT_TRUE(converter);
    // 83 three-byte characters, "é" and ".wav": 255 bytes, the longest name.
    std::string stem;
    for (int i = 0; i < 83; ++i) {
        stem += "音";
    }
    stem += "é";
    writeTone(dir.native(stem + ".wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, 0.5);
    CString source(dir.windows(stem + ".wav"));
    CLumiTuneTrack track;
    CString first = converter->convert(source, &track);
    CString second = converter->convert(source, &track);
    ASSERT_FALSE(first.IsEmpty());
    ASSERT_FALSE(second.IsEmpty());
    EXPECT_EQ(first, CString(dir.windows(stem + ".mp3")));
    std::string shorter = stem.substr(0, stem.size() - 2);  // without the whole "é"
    EXPECT_EQ(second, CString(dir.windows(shorter + "~1.mp3")));
    EXPECT_EQ(dir.names().size(), 3u);
}

TEST_F(Converter, AFileItCannotDecodeGivesNothingAndLeavesNothingBehind) {
    auto converter = make();
    ASSERT_TRUE(converter);
    dir.write("fake.wav", "RIFF but not really a wave file");
    std::filesystem::create_directories(dir.path() / "folder.wav");
    auto before = dir.names();
    CLumiTuneTrack track;
    EXPECT_EQ(converter->convert(CString(dir.windows("fake.wav")), &track), u"");
    EXPECT_EQ(converter->convert(CString(dir.windows("folder.wav")), &track), u"");
    EXPECT_EQ(converter->convert(CString(dir.windows("missing.wav")), &track), u"");
    EXPECT_EQ(converter->convert(u"", &track), u"");
    EXPECT_EQ(track.m_nDuration, 0);
    EXPECT_EQ(dir.names(), before);
}

TEST_F(Converter, AFullDiskGivesNothingAndLeavesNothingBehind) {
    auto converter = make();
    ASSERT_TRUE(converter);
    writeTone(dir.native("talk.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 44100, 2, 5.0);
    CString source(dir.windows("talk.wav"));
    int result = onFullDisk([&] {
        CLumiTuneTrack track;
        CString mp3 = converter->convert(source, &track);
        return mp3.IsEmpty() && track.m_nDuration == 0 ? 0 : 1;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dir.names(), std::set<std::string>{"talk.wav"});
}
