// Writes the demo game's sounds into the folder given as argument: a menu click and a timer
// tick (8-bit mono) and a camera whoosh (16-bit stereo), all synthesised, so that the demo
// holds no recorded data.
//
// WAV layout written: "RIFF" size "WAVE", a 16-byte "fmt " chunk (PCM), a "data" chunk.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

struct Sound {
    int rate;
    int channels;
    int bits;
    std::vector<double> samples; // interleaved, -1 to 1
};

void put16(std::string& out, unsigned value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8 & 0xFF);
}

void put32(std::string& out, std::uint32_t value)
{
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string waveFile(const Sound& sound)
{
    std::string data;
    for (double s : sound.samples) {
        const double v = std::clamp(s, -1.0, 1.0);
        if (sound.bits == 8)
            data += static_cast<char>(static_cast<std::uint8_t>(std::lround(128 + v * 127)));
        else
            put16(data, static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(v * 32767))));
    }
    const unsigned blockAlign = static_cast<unsigned>(sound.channels * sound.bits / 8);
    std::string file = "RIFF";
    put32(file, static_cast<std::uint32_t>(4 + 8 + 16 + 8 + data.size() + (data.size() & 1)));
    file += "WAVEfmt ";
    put32(file, 16);
    put16(file, 1);
    put16(file, static_cast<unsigned>(sound.channels));
    put32(file, static_cast<std::uint32_t>(sound.rate));
    put32(file, static_cast<std::uint32_t>(sound.rate) * blockAlign);
    put16(file, blockAlign);
    put16(file, static_cast<unsigned>(sound.bits));
    file += "data";
    put32(file, static_cast<std::uint32_t>(data.size()));
    file += data;
    if (data.size() & 1)
        file += '\0';
    return file;
}

// A fixed-seed noise source: the same file on every build.
class Noise {
public:
    double next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / 8388608.0 - 1.0;
    }

private:
    std::uint32_t state_ = 12345;
};

constexpr double TwoPi = 2 * std::numbers::pi;

// A short bright click: a high tone that dies within a few milliseconds, with a touch of noise.
Sound menuClick()
{
    Sound sound{11025, 1, 8, {}};
    Noise noise;
    const int count = sound.rate * 60 / 1000;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sound.rate;
        const double decay = std::exp(-t * 90);
        sound.samples.push_back(decay * (0.75 * std::sin(TwoPi * 1900 * t) + 0.2 * noise.next()));
    }
    return sound;
}

// A dry wooden tick: two tones a fifth apart, quickly fading.
Sound timerTick()
{
    Sound sound{22050, 1, 8, {}};
    const int count = sound.rate * 45 / 1000;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / sound.rate;
        const double decay = std::exp(-t * 140);
        sound.samples.push_back(decay * (0.6 * std::sin(TwoPi * 1200 * t) + 0.3 * std::sin(TwoPi * 1800 * t)));
    }
    return sound;
}

// A whoosh that passes from left to right: noise through a low-pass filter that opens and
// closes again, under a rise-and-fall envelope.
Sound cameraWhoosh()
{
    Sound sound{44100, 2, 16, {}};
    Noise noise;
    const int count = sound.rate * 700 / 1000;
    double low = 0;
    for (int i = 0; i < count; ++i) {
        const double x = static_cast<double>(i) / count; // 0 to 1 over the sound
        const double envelope = std::sin(std::numbers::pi * x) * std::sin(std::numbers::pi * x);
        const double opening = 0.02 + 0.25 * std::sin(std::numbers::pi * x);
        low += opening * (noise.next() - low);
        const double value = 0.9 * envelope * low * 2.5;
        const double pan = x * std::numbers::pi / 2; // equal-power pan, left to right
        sound.samples.push_back(value * std::cos(pan));
        sound.samples.push_back(value * std::sin(pan));
    }
    return sound;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: MakeDemoSounds FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const struct {
        const char* name;
        Sound sound;
    } sounds[] = {{"MenuClick.wav", menuClick()}, {"TimerTick.wav", timerTick()}, {"CameraWhoosh.wav", cameraWhoosh()}};
    for (const auto& s : sounds) {
        const std::string bytes = waveFile(s.sound);
        std::ofstream out(folder / s.name, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            std::fprintf(stderr, "MakeDemoSounds: cannot write %s\n", (folder / s.name).string().c_str());
            return 1;
        }
    }
    return 0;
}
