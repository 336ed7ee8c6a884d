// Splits a stream of bytes into lines of UTF-16 text, whatever encoding it was written in.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

enum class InputEncoding {
    Utf8,  // with or without a byte order mark; UTF-16 LE or BE where its byte order mark says so
    ShiftJis,  // Windows' code page 932
};

// The encoding a user names ("shift_jis", "UTF-8", "cp932", ...), in any case; nothing for a name
// that is not known.
std::optional<InputEncoding> EncodingNamed(std::string_view name);

// Decodes one source, fed in pieces of any size. A line ends at LF; a CR right before the LF
// belongs to the line end. Bytes that are not valid in the encoding mark their line as invalid
// and are left out of it; the next line is decoded as usual.
class LineDecoder {
public:
    explicit LineDecoder(InputEncoding encoding) : encoding_(encoding) {}

    // A decoder that goes on with a source of ASCII-compatible bytes after the start of one of its
    // lines, elsewhere: a byte order mark there is a character like any other.
    static LineDecoder GoingOn(InputEncoding encoding) {
        LineDecoder decoder(encoding);
        decoder.form_ = encoding == InputEncoding::ShiftJis ? Form::ShiftJis : Form::Utf8;
        return decoder;
    }
    // Whether the bytes decode as ASCII-compatible ones, as GoingOn goes on with them.
    bool AsciiCompatible() const { return form_ == Form::Utf8 || form_ == Form::ShiftJis; }

    struct Step {
        std::size_t taken = 0;   // bytes used from those given
        bool lineEnded = false;  // an LF was taken: `line` holds the whole line
    };

    // Appends to `line` what the bytes hold, up to the next LF, and stops there, or when `line`
    // has reached `limit` units, or before a character whose bytes are not all given yet. The
    // bytes not taken are to be given again, with the next ones after them. The LF is not
    // appended; a CR before it is, for the caller to take off.
    Step Decode(std::string_view bytes, std::u16string& line, std::size_t limit);

    // The source has ended with these bytes not taken: whether they were part of a character.
    // Its last line, if not empty, is then complete.
    void Finish(std::string_view untaken);

    // The length of the line of ASCII alone, shorter than `limit`, that the bytes begin with up to
    // its LF, where they hold it whole and it decodes to those bytes as they stand, as in UTF-8 and
    // Shift-JIS; nothing otherwise. The line, with its LF, is then the caller's to take.
    std::optional<std::size_t> AsciiLine(std::string_view bytes, std::size_t limit) const;

    // Whether the line being decoded had bytes that are not valid; cleared for each new line.
    bool LineInvalid() const { return invalid_; }
    void StartLine() { invalid_ = false; }

private:
    enum class Form { Undecided, Utf8, Utf16LittleEndian, Utf16BigEndian, ShiftJis };

    InputEncoding encoding_;
    Form form_ = Form::Undecided;
    bool invalid_ = false;
};
