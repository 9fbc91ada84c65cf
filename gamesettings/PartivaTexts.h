#pragma once
// Entries of the game parameters editor's dictionary (Partiva.dic) that its messages use; the
// captions' entries stand in the form's control table.

// A WAV file the reader refused: %1 the file, %2 the reader's message.
constexpr int SoundFileErrorEntry = 52;
// A WAV file read but not played: %1 the file, %2 what is not played.
constexpr int NotPlayedEncodingEntry = 53; // %2 the encoding, as one of the next three
constexpr int PcmBitsEntry = 54;           // %1 bits
constexpr int FloatBitsEntry = 55;         // %1 bits
constexpr int FormatTagEntry = 56;         // %1 the format tag, in hexadecimal
constexpr int NotPlayedChannelsEntry = 57; // %2 the channels
constexpr int NotPlayedRateEntry = 58;     // %2 the rate in Hz
constexpr int NotPlayedHeaderEntry = 59;
constexpr int NotPlayedTooLongEntry = 60;
