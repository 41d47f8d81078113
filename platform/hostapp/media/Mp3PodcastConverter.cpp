#include "hostapp/media/Mp3PodcastConverter.h"

#include "hostapp/files/PathUtil.h"
#include "hostapp/urls/UrlUtil.h"
#include "win32/PathMapping.h"

#include <sndfile.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kMp3Format = SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
// The sample rates an MPEG-1/2 Layer III stream can carry.
constexpr std::array<int, 9> kMp3Rates = {8000,  11025, 12000, 16000, 22050,
                                          24000, 32000, 44100, 48000};
constexpr sf_count_t kChunkFrames = 4096;

struct SndfileCloser {
    void operator()(SNDFILE* f) const { sf_close(f); }
};
using Sound = std::unique_ptr<SNDFILE, SndfileCloser>;

// The rate the MP3 is written at: the source's own when MP3 can carry it,
// else the nearest it can at or below it (48 kHz for anything higher).
int mp3RateFor(int sourceRate) {
    if (std::find(kMp3Rates.begin(), kMp3Rates.end(), sourceRate) != kMp3Rates.end()) {
        return sourceRate;
    }
    int best = kMp3Rates.front();
    for (int rate : kMp3Rates) {
        if (rate <= sourceRate) {
            best = rate;
        }
    }
    return best;
}

// Turns interleaved frames of `channels` into at most two channels: a mono
// or stereo source stays as it is; more channels are folded into left (even
// channels) and right (odd channels).
void foldChannels(std::vector<float>& samples, int channels, sf_count_t frames) {
    if (channels <= 2) {
        return;
    }
    for (sf_count_t f = 0; f < frames; ++f) {
        float sum[2] = {0, 0};
        int count[2] = {0, 0};
        for (int c = 0; c < channels; ++c) {
            sum[c % 2] += samples[static_cast<size_t>(f * channels + c)];
            ++count[c % 2];
        }
        samples[static_cast<size_t>(f * 2)] = sum[0] / static_cast<float>(count[0]);
        samples[static_cast<size_t>(f * 2 + 1)] = sum[1] / static_cast<float>(count[1]);
    }
}

// Linear-interpolating rate change, fed chunk by chunk; it keeps the last
// input frame so that chunks join without a seam.
class Resampler {
  public:
    Resampler(int channels, int from, int to)
        : m_channels(channels), m_step(static_cast<double>(from) / to), m_last(channels, 0.0f) {}

    bool needed() const { return m_step != 1.0; }

    // Appends the output frames for these input frames to out.
    void feed(const float* in, sf_count_t frames, std::vector<float>& out) {
        auto sample = [&](sf_count_t i, int c) {
            return i < 0 ? m_last[static_cast<size_t>(c)] : in[i * m_channels + c];
        };
        // m_pos counts from the kept frame, which is index -1 of this chunk.
        while (m_pos < static_cast<double>(frames)) {
            auto i = static_cast<sf_count_t>(std::floor(m_pos));
            double t = m_pos - static_cast<double>(i);
            for (int c = 0; c < m_channels; ++c) {
                float a = sample(i - 1, c);
                float b = sample(i, c);
                out.push_back(static_cast<float>(a + (b - a) * t));
            }
            m_pos += m_step;
        }
        m_pos -= static_cast<double>(frames);
        if (frames > 0) {
            for (int c = 0; c < m_channels; ++c) {
                m_last[static_cast<size_t>(c)] = in[(frames - 1) * m_channels + c];
            }
        }
    }

  private:
    int m_channels;
    double m_step;
    double m_pos = 1.0;  // the first output frame is the first input frame
    std::vector<float> m_last;
};

// A sink for libsndfile that keeps nothing: enough to learn whether a
// stream of a format can be opened for writing.
struct NullSink {
    sf_count_t position = 0;
    sf_count_t length = 0;
};

SF_VIRTUAL_IO nullSinkIo() {
    SF_VIRTUAL_IO io{};
    io.get_filelen = [](void* user) { return static_cast<NullSink*>(user)->length; };
    io.seek = [](sf_count_t offset, int whence, void* user) {
        auto* sink = static_cast<NullSink*>(user);
        sf_count_t base = whence == SEEK_CUR   ? sink->position
                          : whence == SEEK_END ? sink->length
                                               : 0;
        sink->position = std::max<sf_count_t>(0, base + offset);
        return sink->position;
    };
    io.read = [](void*, sf_count_t, void*) { return sf_count_t{0}; };
    io.write = [](const void*, sf_count_t count, void* user) {
        auto* sink = static_cast<NullSink*>(user);
        sink->position += count;
        sink->length = std::max(sink->length, sink->position);
        return count;
    };
    io.tell = [](void* user) { return static_cast<NullSink*>(user)->position; };
    return io;
}

bool canWriteMp3() {
    // An encoder is there exactly when a stream can be opened for writing.
    SF_VIRTUAL_IO io = nullSinkIo();
    NullSink sink;
    SF_INFO info{};
    info.samplerate = 44100;
    info.channels = 2;
    info.format = kMp3Format;
    Sound probe(sf_open_virtual(&io, SFM_WRITE, &info, &sink));
    return probe != nullptr;
}

// true when the file decodes as an MP3 of about `frames` frames: an encoder
// pads and delays by up to a few MPEG frames of 1152 samples.
bool decodesWhole(const std::string& path, sf_count_t frames) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    SF_INFO info{};
    Sound back(sf_open_fd(fd, SFM_READ, &info, SF_TRUE));
    if (!back) {
        ::close(fd);
        return false;
    }
    return (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_MPEG && info.frames >= frames - 4 * 1152;
}

// A hidden file in folder, opened for writing; its path goes to tempPath.
// Its name is short whatever the source's, so that it always fits.
int openHiddenTemp(const std::string& folder, std::string& tempPath) {
    tempPath = folder + ".newsdesk-mp3.XXXXXX";
    return ::mkostemp(tempPath.data(), O_CLOEXEC);
}

// The stem cut back, at a character boundary, so that stem + tail fits in
// the longest name a folder holds (255 bytes).
std::string fittingStem(std::string stem, const std::string& tail) {
    constexpr size_t kLongestName = 255;
    while (!stem.empty() && stem.size() + tail.size() > kLongestName) {
        // The last character goes whole: its continuation bytes, then its lead.
        while (!stem.empty() && (static_cast<unsigned char>(stem.back()) & 0xC0) == 0x80) {
            stem.pop_back();
        }
        if (!stem.empty()) {
            stem.pop_back();
        }
    }
    return stem;
}

}  // namespace

bool Mp3PodcastConverter::isAvailable() {
    static const bool available = canWriteMp3();
    return available;
}

CString Mp3PodcastConverter::convert(const CString& sourcePath, CLumiTuneTrack* track) {
    m_error.clear();
    CString source = conv_std_path(sourcePath);
    auto native = isDrivePath(source) ? nd::win32::toNativePath(source.view()) : std::nullopt;
    struct stat st {};
    if (!native || ::stat(native->c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
        m_error = "no such file";
        return CString();
    }
    SF_INFO in{};
    Sound input(sf_open(native->c_str(), SFM_READ, &in));
    if (!input || in.channels < 1 || in.samplerate < 1) {
        m_error = "not an audio file this system can decode";
        return CString();
    }
    if (!isAvailable()) {
        m_error = "this system has no MP3 encoder";
        return CString();
    }
    size_t slash = native->find_last_of('/');
    std::string folder = native->substr(0, slash + 1);
    CString name = getBaseName(source);
    int dot = name.ReverseFind(u'.');
    std::string stem = (dot > 0 ? name.Left(dot) : name).toUtf8();

    std::string tempPath;
    int fd = openHiddenTemp(folder, tempPath);
    if (fd < 0) {
        m_error = std::strerror(errno);
        return CString();
    }
    // The temporary file is private while it is written; the published MP3
    // gets the mode any new file of the user's gets, so a web server can
    // serve it.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    int channels = std::min(in.channels, 2);
    SF_INFO out{};
    out.samplerate = mp3RateFor(in.samplerate);
    out.channels = channels;
    out.format = kMp3Format;
    Sound output(sf_open_fd(fd, SFM_WRITE, &out, SF_TRUE));
    auto fail = [&](std::string why) {
        output.reset();
        ::unlink(tempPath.c_str());
        m_error = std::move(why);
        return CString();
    };
    if (!output) {
        ::close(fd);
        return fail("the MP3 encoder refused the stream");
    }
    Resampler resampler(channels, in.samplerate, out.samplerate);
    std::vector<float> buffer(static_cast<size_t>(kChunkFrames * in.channels));
    std::vector<float> resampled;
    sf_count_t framesRead = 0;
    for (;;) {
        sf_count_t n = sf_readf_float(input.get(), buffer.data(), kChunkFrames);
        if (n <= 0) {
            break;
        }
        framesRead += n;
        foldChannels(buffer, in.channels, n);
        const float* data = buffer.data();
        sf_count_t frames = n;
        if (resampler.needed()) {
            resampled.clear();
            resampler.feed(buffer.data(), n, resampled);
            data = resampled.data();
            frames = static_cast<sf_count_t>(resampled.size()) / channels;
        }
        if (frames > 0 && sf_writef_float(output.get(), data, frames) != frames) {
            return fail(sf_strerror(output.get()));
        }
    }
    if (sf_error(input.get()) != SF_ERR_NO_ERROR) {
        return fail(sf_strerror(input.get()));
    }
    if (framesRead == 0) {
        return fail("the file holds no sound");
    }
    // Closing flushes the encoder, whose last writes fail silently on a full
    // disk: the MP3 is read back before it gets its name.
    sf_count_t outFrames = static_cast<sf_count_t>(
        std::llround(static_cast<double>(framesRead) * out.samplerate / in.samplerate));
    if (sf_close(output.release()) != 0 || !decodesWhole(tempPath, outFrames)) {
        return fail("the MP3 could not be written whole");
    }
    std::string target;
    for (int n = 0; n < 100000; ++n) {
        std::string tail = (n ? "~" + std::to_string(n) : std::string()) + ".mp3";
        std::string candidate = folder + fittingStem(stem, tail) + tail;
        // link() never replaces a file: a name taken meanwhile is skipped.
        if (::link(tempPath.c_str(), candidate.c_str()) == 0) {
            target = candidate;
            break;
        }
        if (errno != EEXIST) {
            return fail(std::strerror(errno));
        }
    }
    ::unlink(tempPath.c_str());
    if (target.empty()) {
        m_error = "no free name for the MP3";
        return CString();
    }
    auto windows = nd::win32::toWindowsPath(target);
    if (!windows) {
        ::unlink(target.c_str());
        m_error = "the MP3's name cannot be carried";
        return CString();
    }
    if (track != nullptr) {
        // Whole seconds, rounded up: a file never plays longer than it says.
        track->m_nDuration = static_cast<int>((framesRead + in.samplerate - 1) / in.samplerate);
        track->m_strName = CString::fromUtf8(stem);
    }
    return CString(*windows);
}

namespace lum {

CLumPodcastConverter* createPodcastConverter() {
    return new Mp3PodcastConverter;
}

}  // namespace lum
