#include "Snd.h"

#include "FileResolver.h"
#include "WavUtil.h"

#include <algorithm>
#include <system_error>

std::unique_ptr<TAudio> Audio;
bool AudioReady = false;

void TAudio::Initialize()
{
    DirectSound = SoundDevice::Open();
    if (DirectSound)
        PrimaryBuffer = OutputFormat{OutputFrequency, OutputChannels, 16};
}

TSoundBuffer::TSoundBuffer(std::shared_ptr<SoundDevice> device, const std::string& fileName)
    : device_(std::move(device))
{
    if (!device_ || fileName.empty())
        return;
    const std::filesystem::path path = ResolvePath(fileName);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return;

    const TIWave wave(path.string());
    Size = wave.DataSize;
    BitsPerSample = wave.BitsPerSample();
    Channels = wave.Channels();
    DataError = wave.DataError;
    if (!wave.Format)
        return; // the samples could not be read: nothing to build a sound from
    TWaveFormatEx format;
    wave.GetFormat(format);
    Encoding = WaveEncoding(format, wave.FormatExtra);
    SampleRate = format.nSamplesPerSec;
    Problem = CheckPlayable(format, wave.FormatExtra, wave.Data.size());
    if (Problem != PlayProblem::None)
        return; // a format the device cannot take: silence, and the caller can say why
    auto samples = ConvertToOutput(format, wave.FormatExtra, wave.Data);
    if (!samples)
        return;
    blockAlign_ = format.nBlockAlign;
    Buffer = std::make_unique<SoundVoice>();
    Buffer->Samples = std::move(*samples);
    device_->Add(Buffer.get());
}

TSoundBuffer::~TSoundBuffer()
{
    if (Buffer)
        device_->Remove(Buffer.get());
}

void TSoundBuffer::startPlaying(bool looping)
{
    if (!Buffer)
        return;
    device_->Locked([&] {
        Buffer->Playing = true;
        Buffer->Looping = looping;
    });
}

void TSoundBuffer::Play() { startPlaying(false); }

void TSoundBuffer::Replay()
{
    Stop();
    SetPosition(0);
    Play();
}

void TSoundBuffer::Loop()
{
    Stop();
    startPlaying(true);
}

void TSoundBuffer::Stop()
{
    if (Buffer)
        device_->Locked([&] { Buffer->Playing = false; });
}

void TSoundBuffer::Restore()
{
    if (Buffer && OnRestore)
        OnRestore(*this);
}

void TSoundBuffer::SetPosition(std::uint32_t position)
{
    if (!Buffer)
        return;
    // A byte of the file's own format, as a frame of the converted sound.
    const std::uint64_t frame = std::uint64_t{position} / blockAlign_ * OutputFrequency / SampleRate;
    device_->Locked([&] { Buffer->Frame = static_cast<std::size_t>(std::min<std::uint64_t>(frame, Buffer->Frames())); });
}

void StartAudio()
{
    if (AudioReady)
        return;
    Audio = std::make_unique<TAudio>();
    Audio->Initialize();
    AudioReady = Audio->DirectSound != nullptr;
}

void CloseAudio()
{
    Audio.reset();
    AudioReady = false;
}

void LoadSound(const std::string& fileName, SoundSlot& slot)
{
    if (!AudioReady)
        return;
    slot.reset();
    slot = std::make_unique<TSoundBuffer>(Audio->DirectSound, fileName);
}

void StartSound(SoundSlot& slot, bool looping)
{
    if (!AudioReady || !slot)
        return;
    if (looping)
        slot->Loop();
    else
        slot->Replay();
}
