// A guard in front of the JPEG decoder: finds Huffman table definitions that declare more than
// 256 codes, which the system's image library does not check and would write past its tables.
//
//   if (!JpegHuffmanTablesFit(bytes)) -> refuse the file as damaged
//
// Segments before the first scan are walked by their lengths, as the decoder walks them, so
// application data (EXIF, ICC profiles) is never mistaken for a table. From the first scan on,
// the decoder may resynchronise on any 0xFF byte, so every 0xFF 0xC4 pair there is checked as
// a table definition. A JPEG is what the decoder takes for one: 0xFF, any number of further 0xFF
// fill bytes, then the start-of-image marker 0xD8. Bytes that are not a JPEG pass unchecked.
#pragma once

#include <cstdint>
#include <span>

namespace qm {

bool JpegHuffmanTablesFit(std::span<const uint8_t> bytes);

}  // namespace qm
