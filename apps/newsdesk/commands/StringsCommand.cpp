// newsdesk strings: the module's string table, one string a line.
#include "Commands.h"
#include "TextQuote.h"

#include "win32/Resources.h"

#include <ostream>

namespace newsdesk::app {

int runStrings(CommandContext& context) {
    if (!context.args.empty()) {
        return usageError(context);
    }
    HMODULE module = context.module.moduleHandle();
    int count = 0;
    // Strings live in blocks of sixteen; block n holds the ids 16 (n - 1) to 16 n - 1.
    for (UINT block = 1; block <= 4096; ++block) {
        if (FindResourceW(module, MAKEINTRESOURCEW(block), RT_STRING) == nullptr) {
            continue;
        }
        for (UINT id = (block - 1) * 16; id < block * 16; ++id) {
            const WCHAR* text = nullptr;
            int length = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
            if (length > 0 && text != nullptr) {
                context.out << id << "  " << quoteText(std::u16string_view(text, length)) << "\n";
                ++count;
            }
        }
    }
    if (count == 0) {
        context.err << "newsdesk: the module has no strings\n";
        return 1;
    }
    return 0;
}

}  // namespace newsdesk::app
