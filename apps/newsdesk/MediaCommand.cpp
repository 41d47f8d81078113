// newsdesk media FILE [--to-mp3]: what the editor learns of a media file (its
// type and playing time), and the host's podcast conversion of it.
#include "Commands.h"

#include "hostapp/CLumCopyPaste.h"
#include "hostapp/CLumDllFunctionEngineer.h"
#include "hostapp/CLumMimeUtility.h"
#include "hostapp/Mp3PodcastConverter.h"
#include "hostapp/PathUtil.h"
#include "win32/PathMapping.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <ostream>

namespace newsdesk::app {

namespace {

std::string seconds(double value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.3f", value);
    return buffer;
}

int convert(CommandContext& context, const std::string& native, const CString& path) {
    void* entry = CLumDllFunctionEngineer::getInstance()->GetFunctionAddr(40220);
    std::unique_ptr<CLumPodcastConverter> converter(
        entry ? reinterpret_cast<CreatePodcastConverterFn>(entry)() : nullptr);
    if (!converter || !converter->isAvailable()) {
        context.err << "newsdesk: this system cannot write MP3\n";
        return 1;
    }
    CLumiTuneTrack track;
    CString mp3 = converter->convert(path, &track);
    if (mp3.IsEmpty()) {
        auto* ours = dynamic_cast<Mp3PodcastConverter*>(converter.get());
        context.err << "newsdesk: " << native << ": not converted"
                    << (ours && !ours->lastError().empty() ? ": " + ours->lastError() : "") << "\n";
        return 1;
    }
    context.out << "mp3: " << nd::win32::toNativePath(mp3.view()).value_or(mp3.toUtf8()) << "\n"
                << "duration: " << track.m_nDuration << "\n";
    return 0;
}

}  // namespace

int runMedia(CommandContext& context) {
    const auto& args = context.args;
    bool toMp3 = args.size() == 2 && args[1] == "--to-mp3";
    if (args.empty() || args.size() > 2 || (args.size() == 2 && !toMp3)) {
        context.err << "newsdesk: usage: newsdesk media FILE [--to-mp3]\n";
        return 2;
    }
    std::error_code ec;
    std::string native = std::filesystem::absolute(args[0], ec).lexically_normal().string();
    auto windows = ec ? std::nullopt : nd::win32::toWindowsPath(native);
    if (!windows) {
        context.err << "newsdesk: " << args[0] << ": the path cannot be given to the host\n";
        return 1;
    }
    CString path(*windows);
    if (!is_file(path)) {
        context.err << "newsdesk: " << args[0] << ": no such file\n";
        return 1;
    }
    if (toMp3) {
        return convert(context, args[0], path);
    }
    context.out << "type: " << CLumMimeUtility::getMimeTypeOfExtension(getBaseExt(path)).toUtf8()
                << "\n";
    double length = 0;
    CLumCopyPaste media(false);
    if (!media.getMediaDuration(length, path, false)) {
        context.err << "newsdesk: " << args[0] << ": no playing time could be read\n";
        return 1;
    }
    context.out << "duration: " << seconds(length) << "\n";
    return 0;
}

}  // namespace newsdesk::app
