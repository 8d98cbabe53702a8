// Synthesises the two feedback sounds into the given folder:
//   Maru.wav  a short bright two-note chime for a right answer
//   SD05.wav  a short low buzz for a wrong answer
// 16-bit mono PCM at 22050 Hz, made from sine and square waves with soft
// envelopes so that neither clicks.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr double kPi = 3.14159265358979323846;

void put16(std::vector<unsigned char> &b, uint16_t v)
{
    b.push_back(v & 0xFF);
    b.push_back(v >> 8);
}

void put32(std::vector<unsigned char> &b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back((v >> (8 * i)) & 0xFF);
}

bool writeWav(const std::string &path, const std::vector<double> &samples)
{
    std::vector<unsigned char> b;
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'});
    put32(b, 36 + dataBytes);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    put32(b, 16);
    put16(b, 1); // PCM
    put16(b, 1); // mono
    put32(b, kRate);
    put32(b, kRate * 2);
    put16(b, 2);
    put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'});
    put32(b, dataBytes);
    for (double s : samples) {
        const double c = std::fmax(-1.0, std::fmin(1.0, s));
        put16(b, uint16_t(int16_t(std::lround(c * 32000))));
    }
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

// A bell-like note: a sine with a quieter octave, fast attack, exponential decay.
void addNote(std::vector<double> &out, double startSec, double freq, double lenSec, double gain)
{
    const size_t start = size_t(startSec * kRate);
    const size_t len = size_t(lenSec * kRate);
    if (out.size() < start + len)
        out.resize(start + len, 0.0);
    for (size_t i = 0; i < len; ++i) {
        const double t = double(i) / kRate;
        const double attack = std::fmin(1.0, t / 0.005);
        const double release = std::fmin(1.0, (lenSec - t) / 0.02);
        const double env = attack * release * std::exp(-t * 5.0);
        const double v = std::sin(2 * kPi * freq * t) + 0.35 * std::sin(2 * kPi * 2 * freq * t)
                         + 0.1 * std::sin(2 * kPi * 3 * freq * t);
        out[start + i] += gain * env * v;
    }
}

std::vector<double> chime()
{
    std::vector<double> s;
    addNote(s, 0.00, 1318.5, 0.35, 0.45); // E6
    addNote(s, 0.12, 1760.0, 0.55, 0.45); // A6
    return s;
}

std::vector<double> buzz()
{
    const double len = 0.45;
    std::vector<double> s(size_t(len * kRate));
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / kRate;
        const double attack = std::fmin(1.0, t / 0.01);
        const double release = std::fmin(1.0, (len - t) / 0.06);
        // Two slightly detuned low square waves give the rough buzz.
        const double a = std::sin(2 * kPi * 110 * t) >= 0 ? 1.0 : -1.0;
        const double b = std::sin(2 * kPi * 116.5 * t) >= 0 ? 1.0 : -1.0;
        const double low = std::sin(2 * kPi * 55 * t);
        s[i] = 0.22 * attack * release * (a + b + 0.8 * low);
    }
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: soremuka-gensound FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!writeWav(folder + "/Maru.wav", chime()) || !writeWav(folder + "/SD05.wav", buzz())) {
        std::fprintf(stderr, "soremuka-gensound: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
