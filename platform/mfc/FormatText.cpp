// The printf-style formatter behind CString::Format. Numbers go through the C
// library's snprintf with the same flags, width and precision; texts are
// padded here so that width counts UTF-16 code units, as on Windows.
#include "mfc/CString.h"

#include <cstdio>
#include <string>

namespace nd::mfc {

namespace {

struct Directive {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
    bool leftAlign() const { return flags.find('-') != std::string::npos; }
};

std::u16string widen(const std::string& s) {
    return std::u16string(s.begin(), s.end());
}

std::u16string pad(std::u16string body, const Directive& directive) {
    if (directive.width > 0 && body.size() < static_cast<size_t>(directive.width)) {
        std::u16string fill(static_cast<size_t>(directive.width) - body.size(), u' ');
        body = directive.leftAlign() ? body + fill : fill + body;
    }
    return body;
}

std::u16string formatNumber(const Directive& directive, const FormatArg& arg) {
    std::string fmt = "%" + directive.flags;
    if (directive.width >= 0) {
        fmt += std::to_string(directive.width);
    }
    if (directive.precision >= 0) {
        fmt += "." + std::to_string(directive.precision);
    }
    char buffer[512];
    char c = directive.conversion;
    switch (c) {
        case 'd':
        case 'i': {
            long long v = arg.kind == FormatArg::Kind::Signed   ? arg.s
                          : arg.kind == FormatArg::Kind::Double ? static_cast<long long>(arg.d)
                                                                : static_cast<long long>(arg.u);
            std::snprintf(buffer, sizeof buffer, (fmt + "lld").c_str(), v);
            break;
        }
        case 'u':
        case 'x':
        case 'X':
        case 'o': {
            unsigned long long v = arg.kind == FormatArg::Kind::Signed
                                       ? static_cast<unsigned long long>(arg.s)
                                       : static_cast<unsigned long long>(arg.u);
            std::snprintf(buffer, sizeof buffer, (fmt + "ll" + c).c_str(), v);
            break;
        }
        case 'p':
            std::snprintf(buffer, sizeof buffer, "%p", arg.p);
            break;
        default: {
            double v = arg.kind == FormatArg::Kind::Double   ? arg.d
                       : arg.kind == FormatArg::Kind::Signed ? static_cast<double>(arg.s)
                                                             : static_cast<double>(arg.u);
            std::snprintf(buffer, sizeof buffer, (fmt + c).c_str(), v);
            break;
        }
    }
    return widen(buffer);
}

std::u16string formatOne(const Directive& directive, const FormatArg& arg) {
    switch (directive.conversion) {
        case 's':
        case 'S': {
            std::u16string_view t = arg.kind == FormatArg::Kind::Text ? arg.text : u"";
            if (directive.precision >= 0 && t.size() > static_cast<size_t>(directive.precision)) {
                t = t.substr(0, static_cast<size_t>(directive.precision));
            }
            return pad(std::u16string(t), directive);
        }
        case 'c':
        case 'C':
            return pad(std::u16string(1, static_cast<char16_t>(
                                             arg.kind == FormatArg::Kind::Signed ? arg.s : arg.u)),
                       directive);
        default:
            return formatNumber(directive, arg);
    }
}

}  // namespace

std::u16string formatText(std::u16string_view format, const FormatArg* args, size_t count) {
    std::u16string out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        char16_t c = format[i];
        if (c != u'%') {
            out += c;
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == u'%') {
            out += u'%';
            ++i;
            continue;
        }
        Directive directive;
        size_t j = i + 1;
        while (j < format.size() &&
               std::u16string_view(u"-+ #0").find(format[j]) != std::u16string_view::npos) {
            directive.flags += static_cast<char>(format[j++]);
        }
        auto readNumber = [&](int& into) {
            if (j < format.size() && format[j] == u'*') {
                ++j;
                if (next < count) {
                    into = static_cast<int>(args[next++].s);
                }
                return;
            }
            while (j < format.size() && format[j] >= u'0' && format[j] <= u'9') {
                into = (into < 0 ? 0 : into) * 10 + (format[j++] - u'0');
                if (into > 4096) {
                    into = 4096;  // a width this large is a mistake, not a layout
                }
            }
        };
        readNumber(directive.width);
        if (j < format.size() && format[j] == u'.') {
            ++j;
            directive.precision = 0;
            readNumber(directive.precision);
        }
        // Size prefixes carry no meaning here: arguments know their own type.
        while (j < format.size() &&
               std::u16string_view(u"hlLqjztI").find(format[j]) != std::u16string_view::npos) {
            if (format[j] == u'I' && format.substr(j, 3) == u"I64") {
                j += 3;
            } else {
                ++j;
            }
        }
        if (j >= format.size()) {
            out.append(format.substr(i));
            break;
        }
        directive.conversion = static_cast<char>(format[j]);
        if (std::string_view("diuxXoscSCfFgGeEp").find(directive.conversion) ==
            std::string_view::npos) {
            out.append(format.substr(i, j - i + 1));
            i = j;
            continue;
        }
        if (next < count) {
            out += formatOne(directive, args[next++]);
        }
        i = j;
    }
    return out;
}

}  // namespace nd::mfc
