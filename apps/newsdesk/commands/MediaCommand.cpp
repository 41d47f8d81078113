// newsdesk media FILE [--to-mp3]: what the editor learns of a media file (its
// type and playing time), and the host's podcast conversion of it.
#include "Commands.h"
#include "FeedPath.h"

#include "hostapp/app/CLumDllFunctionEngineer.h"
#include "hostapp/files/PathUtil.h"
#include "hostapp/media/CLumCopyPaste.h"
#include "hostapp/media/CLumMimeUtility.h"
#include "hostapp/media/Mp3PodcastConverter.h"
#include "win32/PathMapping.h"

#include <cstdio>
#include <memory>
#include <ostream>
#include <vector>

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
    std::vector<std::string> args;
    bool toMp3 = false;
    for (const auto& arg : context.args) {
        if (arg == "--to-mp3") {
            toMp3 = true;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return unknownOption(context, arg);
        } else {
            args.push_back(arg);
        }
    }
    if (args.size() != 1 || args[0].empty()) {
        return usageError(context);
    }
    auto windows = feedPathArgument(args[0], context.err);
    if (!windows) {
        return 1;
    }
    std::string unopenable = unopenableReason(args[0]);
    if (!unopenable.empty()) {
        context.err << "newsdesk: " << args[0] << ": " << unopenable << "\n";
        return 1;
    }
    CString path = *windows;
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
