// Base64 of RFC 4648 (standard alphabet, "=" padding) for the bitmaps and
// fill patterns of the XML view file. No state: make one on the stack.
// Nothing throws; null pointers and negative lengths do nothing (0).
#ifndef DORNE_XML_BASE64_H
#define DORNE_XML_BASE64_H

namespace dorne {

class Base64
{
public:
    // Writes the text of length source bytes into destination and returns
    // the number of characters written (no terminating zero). With
    // groupsPerLine N > 0 a line feed follows every N-th complete group of
    // four characters, never a padded final group; 0 writes no line feeds.
    // destination holds getSize(length) characters plus the line feeds.
    int encode(const unsigned char* source, char* destination, int length, int groupsPerLine) const;

    // Decodes length characters of source into destination, skipping
    // characters that are neither of the alphabet nor "="; returns the
    // number of bytes written, or -1 when four or more positions remain but
    // hold fewer than four values (what was written before stays). Stops
    // after a group that ends in "="; three or fewer positions left at the
    // end are ignored. Writes up to 3 bytes per 4 characters: the caller
    // sizes destination.
    int decode(const char* source, unsigned char* destination, int length) const;

    // 4 x ceil(count / 3): the encoded length without line feeds and
    // without a terminating zero; 0 for count <= 0, -1 when the result
    // would not fit into an int.
    int getSize(int count) const;

    // Removes in place every character that is neither of the alphabet nor
    // "="; returns the new length (0 for a null text or length <= 0).
    int strip(char* text, int length) const;

    // The alphabet's character for 0 .. 63; "=" for any other value.
    char ntc(int value) const;

    // 0 .. 63 for an alphabet character, 80 for "=", 100 for any other.
    int ctn(char c) const;
};

} // namespace dorne

#endif
