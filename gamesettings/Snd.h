#pragma once
// Sound preview: TAudio owns the output device, TSoundBuffer holds one loaded sound, and
// StartAudio, LoadSound and StartSound let the rest of the program start the device once,
// load a sound into a slot and play it. Sound is optional: without a device (AudioReady false)
// every operation quietly does nothing.
#include "SoundDevice.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

struct OutputFormat {
    int Frequency = 0;
    int Channels = 0;
    int BitsPerSample = 0;
};

class TAudio {
public:
    // Create: opens nothing; Initialize opens the device.
    TAudio() = default;
    void Initialize();

    std::shared_ptr<SoundDevice> DirectSound;  // the device; none until Initialize succeeds
    std::optional<OutputFormat> PrimaryBuffer; // the format the device mixes in
};

class TSoundBuffer {
public:
    // Create: reads the WAV file `fileName` (resolved in the current folder) and makes it ready
    // to play on `device`. Stays empty, and silent, without a device, without a file of that
    // name, when the file's samples cannot be read, or when its format cannot be played.
    // A file whose format cannot be read throws the reader's error.
    TSoundBuffer(std::shared_ptr<SoundDevice> device, const std::string& fileName);
    // Destroy: stops the sound and releases it.
    ~TSoundBuffer();
    TSoundBuffer(const TSoundBuffer&) = delete;
    TSoundBuffer& operator=(const TSoundBuffer&) = delete;

    void Play();                          // once, from the current position
    void Replay();                        // Stop, SetPosition(0), Play
    void Loop();                          // from the current position, again and again
    void Stop();
    void Restore();                       // nothing is ever lost here; calls OnRestore
    void SetPosition(std::uint32_t position); // in bytes of the file's own format

    std::unique_ptr<SoundVoice> Buffer;   // the sound ready to play; none when nothing loaded
    std::function<void(TSoundBuffer&)> OnRestore;
    std::uint32_t Size = 0;               // sample bytes of the file
    std::uint32_t Channels = 0;
    std::uint32_t BitsPerSample = 0;
    std::string DataError;                // why the file's samples could not be read, if so
    PlayProblem Problem = PlayProblem::None; // why a file that was read cannot be played
    std::uint16_t Encoding = 0;           // the file's encoding (format tag or sub-format)
    std::uint32_t SampleRate = 0;

private:
    void startPlaying(bool looping);

    std::shared_ptr<SoundDevice> device_;
    std::uint32_t blockAlign_ = 0;
};

// A place that holds one loaded sound, or none.
using SoundSlot = std::unique_ptr<TSoundBuffer>;

extern std::unique_ptr<TAudio> Audio;
extern bool AudioReady;

// Opens the device once (nothing when it is already open); AudioReady tells whether it worked.
void StartAudio();
// Releases the device (the main window's end); sounds still in slots keep it until they go.
void CloseAudio();
// With a device: releases the slot's sound, then loads `fileName` into it. When loading throws,
// the slot is left empty and the error goes on.
void LoadSound(const std::string& fileName, SoundSlot& slot);
// With a device and a sound in the slot: plays it from its start, or loops it.
void StartSound(SoundSlot& slot, bool looping);
