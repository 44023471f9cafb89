#pragma once
// The entry of the trouble-code text library DTCBASE.dll as the trouble-code and actuator
// modules call it: the whole content of a file of the installation's "\dtc\" folder and its
// length go in; the library turns the content into its text in place (8-bit characters
// ended by a zero byte) and returns non-zero when it did, zero when the content is not a
// file it can read (the content is then left as it was).
#include <cstdint>

extern "C" {
typedef int32_t (*DtcBaseEntry)(unsigned char* content, int32_t length);
}
