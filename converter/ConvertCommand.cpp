#include "ConvertCommand.h"

#include <memory>

#include "CsvConverter.h"
#include "ReadAhead.h"
#include "Utf.h"

int RunConvert(const std::vector<std::string>& sources, CsvConverter::Options options,
               const Texts& texts, ConvertStreams& streams) {
    bool readerGone = false;
    bool failed = false;
    std::u16string writeFailure;
    const auto write = [&](std::string_view bytes) {
        switch (streams.Write(bytes, writeFailure)) {
            case ConvertStreams::Written::All:
                return true;
            case ConvertStreams::Written::ReaderGone:
                readerGone = true;
                break;
            case ConvertStreams::Written::Failed:
                break;
        }
        return false;
    };
    const auto complain = [&streams](std::string_view message) { streams.Complain(message); };
    const auto cannotRead = [&](const std::string& source, std::u16string_view reason) {
        complain(Utf8FromUtf16(Substitute(texts.cannotRead, Utf16FromUtf8(source), reason)));
        failed = true;
    };
    CsvConverter converter(options, texts, write, complain);

    const std::vector<std::string> standardInput{"-"};
    converter.WriteHeader();
    for (const std::string& source : sources.empty() ? standardInput : sources) {
        if (converter.OutputFailed()) break;
        std::u16string reason;
        if (!streams.Open(source, reason)) {
            cannotRead(source, reason);
            continue;
        }
        converter.BeginSource(source);
        std::ptrdiff_t count = 0;
        {
            ReadAhead pieces(streams);
            const char* bytes = nullptr;
            while ((count = pieces.Next(bytes, reason)) > 0 && !converter.OutputFailed()) {
                converter.Feed({bytes, static_cast<std::size_t>(count)});
            }
        }
        streams.Close();
        // The line that a failure cuts short gives no row: it would look complete.
        converter.EndSource(count == 0);
        if (count < 0) cannotRead(source, reason);
    }
    converter.Finish();
    if (converter.OutputFailed() && !readerGone) {
        complain(Utf8FromUtf16(Substitute(texts.cannotWrite, writeFailure)));
        failed = true;
    }
    return failed || converter.InputFailed() ? 1 : 0;
}
