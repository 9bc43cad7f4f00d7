#include "tools/demo/DemoRecording.h"

#include "imaging/ImageCodecs.h"
#include "recording/RecordingWriter.h"

#include <QDir>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr double kFps = 28.0;
constexpr double kPi = 3.14159265358979323846;

struct Rgb {
    std::uint8_t r, g, b;
};

// A 5 x 7 pixel font for the burned-in readouts.
struct Glyph {
    char c;
    std::array<std::uint8_t, 7> rows; // bit 4 is the leftmost column
};
constexpr Glyph kFont[] = {
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'/', {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}}, {'m', {0x00, 0x00, 0x1A, 0x15, 0x15, 0x15, 0x15}},
    {'h', {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}}, {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}}, {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}},
};

const Glyph* findGlyph(char c)
{
    for (const Glyph& g : kFont)
        if (g.c == c)
            return &g;
    return nullptr;
}

// Draws on a bottom-up Image with top-down coordinates.
class Canvas {
public:
    explicit Canvas(Image& image) : image_(image) {}

    void set(int x, int y, Rgb c)
    {
        if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height())
            return;
        std::uint8_t* p = image_.memoryRow(image_.height() - 1 - y) + x * 4;
        p[0] = c.b;
        p[1] = c.g;
        p[2] = c.r;
        p[3] = 0;
    }

    void fillRect(int x0, int y0, int w, int h, Rgb c)
    {
        for (int y = std::max(0, y0); y < std::min(image_.height(), y0 + h); ++y)
            for (int x = std::max(0, x0); x < std::min(image_.width(), x0 + w); ++x)
                set(x, y, c);
    }

    void text(int x, int y, const std::string& s, int scale, Rgb c)
    {
        for (char ch : s) {
            if (const Glyph* g = findGlyph(ch))
                for (int row = 0; row < 7; ++row)
                    for (int col = 0; col < 5; ++col)
                        if (g->rows[static_cast<std::size_t>(row)] & (0x10 >> col))
                            fillRect(x + col * scale, y + row * scale, scale, scale, c);
            x += 6 * scale;
        }
    }

private:
    Image& image_;
};

// The drive: speed over time with an optional hard stop and recovery.
struct Drive {
    const DemoDrivePlan& plan;

    double speedAt(double t) const // km/h
    {
        const double cruise = plan.cruiseSpeed + 3.0 * std::sin(t * 0.4);
        if (plan.brakingAtSecond < 0)
            return cruise;
        const double since = t - plan.brakingAtSecond;
        if (since < 0)
            return cruise;
        if (since < 1.2) // about 1 G of deceleration
            return cruise - (cruise - 6.0) * since / 1.2;
        if (since < 5.2)
            return 6.0 + (cruise - 6.0) * (since - 1.2) / 4.0;
        return cruise;
    }

    // Longitudinal G: the slope of the speed curve (negative when braking).
    double longitudinalG(double t) const
    {
        const double dt = 0.05;
        const double dv = (speedAt(t + dt) - speedAt(t - dt)) / 3.6;
        return dv / (2 * dt) / 9.81;
    }

    bool isEventFrame(int frame) const
    {
        return plan.brakingAtSecond >= 0 &&
               frame == static_cast<int>((plan.brakingAtSecond + 0.6) * kFps);
    }
};

void drawScene(Image& image, const Drive& drive, double t, double distance, const std::string& clock,
               int speed, bool eventShown)
{
    Canvas canvas(image);
    const int horizon = 190;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            Rgb c;
            if (y < horizon) { // sky
                const int k = y * 60 / horizon;
                c = {static_cast<std::uint8_t>(110 + k), static_cast<std::uint8_t>(150 + k), 215};
            } else {
                const double depth = static_cast<double>(y - horizon) / (kHeight - horizon); // 0 far .. 1 near
                const double half = 30 + depth * 330;                                       // road half width
                const double dx = std::abs(x - kWidth / 2.0);
                if (dx < half) {
                    c = {70, 72, 76};
                    // lane dashes move towards the viewer with the distance driven
                    const double z = 1.0 / (depth + 0.05);
                    const bool dash = std::fmod(z * 4.0 + distance * 0.5, 4.0) < 2.0;
                    if (dash && dx < 2 + depth * 8)
                        c = {235, 235, 225};
                    if (half - dx < 3 + depth * 6)
                        c = {220, 220, 220};
                } else {
                    const int g = 90 + static_cast<int>(depth * 50);
                    c = {60, static_cast<std::uint8_t>(g), 50};
                }
            }
            canvas.set(x, y, c);
        }
    }
    // Roadside posts pass by.
    for (int i = 0; i < 6; ++i) {
        const double z = std::fmod(i * 1.7 - distance * 0.08 + 100.0, 10.2) + 0.3;
        const double depth = 1.0 / z;
        const int y = horizon + static_cast<int>(depth * (kHeight - horizon));
        const int h = static_cast<int>(60 * depth) + 4;
        const int x = kWidth / 2 + static_cast<int>((60 + depth * 360));
        canvas.fillRect(x, y - h, std::max(2, static_cast<int>(6 * depth)), h, {230, 230, 235});
        canvas.fillRect(kWidth - x, y - h, std::max(2, static_cast<int>(6 * depth)), h, {230, 230, 235});
    }
    // The car ahead comes closer while we brake.
    const double closeness = std::clamp(1.0 - (drive.speedAt(t) - 6.0) / 60.0, 0.2, 1.0);
    const int carW = static_cast<int>(60 + 120 * closeness * closeness);
    const int carH = carW * 6 / 10;
    const int carY = horizon + 20 + static_cast<int>(120 * closeness * closeness);
    canvas.fillRect(kWidth / 2 - carW / 2, carY - carH, carW, carH, {150, 30, 35});
    canvas.fillRect(kWidth / 2 - carW / 2 + carW / 8, carY - carH + carH / 6, carW * 3 / 4, carH / 3, {40, 50, 60});
    const Rgb lamp = eventShown ? Rgb{255, 60, 40} : Rgb{120, 20, 20};
    canvas.fillRect(kWidth / 2 - carW / 2 + 4, carY - carH / 3, carW / 6, carH / 8 + 2, lamp);
    canvas.fillRect(kWidth / 2 + carW / 2 - 4 - carW / 6, carY - carH / 3, carW / 6, carH / 8 + 2, lamp);

    // Burned-in readouts, as the recorder stamps them.
    canvas.fillRect(0, kHeight - 40, kWidth, 40, {10, 10, 12});
    canvas.text(12, kHeight - 32, clock, 3, {255, 255, 255});
    char speedText[16];
    std::snprintf(speedText, sizeof speedText, "%3dkm/h", speed);
    canvas.text(kWidth - 140, kHeight - 32, speedText, 3, {255, 210, 80});
    if (eventShown) {
        canvas.fillRect(kWidth - 130, 14, 116, 34, {200, 20, 20});
        canvas.text(kWidth - 122, 20, "EVENT", 3, {255, 255, 255});
    }
}

// Unsigned 8-bit mono: an engine hum whose pitch follows the speed, and a
// two-tone chime at each event.
std::vector<std::uint8_t> soundTrack(const Drive& drive, int seconds, std::uint32_t seed)
{
    const int total = seconds * RecordingFormat::kSoundRate;
    std::vector<std::uint8_t> samples(static_cast<std::size_t>(total));
    double phase = 0.0;
    std::uint32_t noise = seed * 2654435761u + 1;
    const double chimeAt =
        drive.plan.brakingAtSecond >= 0 ? drive.plan.brakingAtSecond + 0.6 : -100.0;
    for (int i = 0; i < total; ++i) {
        const double t = static_cast<double>(i) / RecordingFormat::kSoundRate;
        const double freq = 35.0 + drive.speedAt(t) * 1.3;
        phase += 2 * kPi * freq / RecordingFormat::kSoundRate;
        noise = noise * 1664525u + 1013904223u;
        double v = 18.0 * std::sin(phase) + 9.0 * std::sin(2 * phase + 0.3) + 5.0 * std::sin(3 * phase) +
                   3.0 * ((noise >> 24) / 255.0 - 0.5);
        const double sinceChime = t - chimeAt;
        if (sinceChime >= 0 && sinceChime < 0.9) {
            const double decay = std::exp(-sinceChime * 4.0);
            const double tone = sinceChime < 0.3 ? 880.0 : 660.0;
            v += 70.0 * decay * std::sin(2 * kPi * tone * sinceChime);
        }
        samples[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(std::clamp(128.0 + v, 0.0, 255.0));
    }
    return samples;
}

std::uint32_t ceilMs(double ms)
{
    return static_cast<std::uint32_t>(std::ceil(ms - 1e-9));
}

} // namespace

void writeDemoRecording(const QString& path, const DemoDrivePlan& plan)
{
    const Drive drive{plan};
    const auto startTime = RecordingFormat::localDateTime(plan.start).value_or(0);

    RecordingWriter writer({plan.start, plan.startCounter, plan.recordingId});
    const std::uint32_t firstCounter = plan.startCounter + 200;

    const std::vector<std::uint8_t> sound = soundTrack(drive, plan.seconds, plan.recordingId);
    const int soundPerRecord = RecordingFormat::kSoundChunk;
    const int soundRecords = static_cast<int>((sound.size() + soundPerRecord - 1) / soundPerRecord);
    const int frames = static_cast<int>(plan.seconds * kFps);

    auto image = Image::create(kWidth, kHeight);
    double distance = 0.0;
    int nextSound = 0;
    for (int frame = 0; frame < frames; ++frame) {
        const double t = frame / kFps;
        const std::uint32_t counter = firstCounter + ceilMs(frame * 1000.0 / kFps);
        // Sound records go in before the picture whose time they reach.
        while (nextSound < soundRecords) {
            const double soundMs = nextSound * soundPerRecord * 1000.0 / RecordingFormat::kSoundRate;
            const std::uint32_t soundCounter = firstCounter + ceilMs(soundMs);
            if (soundCounter > counter)
                break;
            const std::size_t from = static_cast<std::size_t>(nextSound) * soundPerRecord;
            const std::size_t n = std::min<std::size_t>(soundPerRecord, sound.size() - from);
            writer.addSound(soundCounter, std::span(sound).subspan(from, n));
            ++nextSound;
        }

        const double speed = drive.speedAt(t);
        distance += speed / 3.6 / kFps;
        const auto clock = RecordingFormat::toLocalDateTime(startTime + static_cast<std::int64_t>(t));
        char clockText[32];
        std::snprintf(clockText, sizeof clockText, "%04d/%02d/%02d %02d:%02d:%02d", clock.year, clock.month,
                      clock.day, clock.hour, clock.minute, clock.second);
        const bool event = drive.isEventFrame(frame);
        const bool eventShown = plan.brakingAtSecond >= 0 && t >= plan.brakingAtSecond + 0.6 &&
                                t < plan.brakingAtSecond + 3.0;
        drawScene(*image, drive, t, distance, clockText, static_cast<int>(std::lround(speed)), eventShown);

        RecordingWriter::PictureFields fields;
        fields.counter = counter;
        fields.dateTime = clock;
        const double gx = drive.longitudinalG(t);
        const double gy = 0.08 * std::sin(t * 0.7);
        const double gz = 1.0 + 0.03 * std::sin(t * 11.0);
        fields.gX = static_cast<std::int16_t>(std::lround(gx / RecordingFormat::kGPerUnit));
        fields.gY = static_cast<std::int16_t>(std::lround(gy / RecordingFormat::kGPerUnit));
        fields.gZ = static_cast<std::int16_t>(std::lround(gz / RecordingFormat::kGPerUnit));
        fields.speed = static_cast<int>(std::lround(speed));
        fields.numberA = static_cast<std::uint32_t>((frame % 10000) * 10000 + plan.recordingId % 10000);
        fields.numberB = static_cast<std::uint32_t>(plan.recordingId);
        fields.event = event;
        writer.addPicture(encodeJpeg(*image, plan.jpegQuality), fields);
    }
    writer.save(path);
}

std::vector<QString> writeDemoCard(const QString& folder)
{
    QDir().mkpath(folder);
    struct File {
        const char* name;
        RecordingFormat::LocalDateTime start;
        int braking;
        int speed;
    };
    const File files[] = {
        {"0001_001.DAT", {2026, 11, 20, 8, 15, 0}, -1, 46},
        {"0001_002.DAT", {2026, 11, 20, 8, 15, 24}, 12, 52},
        {"0001_003.DAT", {2026, 11, 20, 8, 15, 48}, -1, 40},
        {"0002_001.DAT", {2026, 11, 21, 17, 40, 0}, -1, 58},
        {"0002_002.DAT", {2026, 11, 21, 17, 40, 24}, 8, 60},
        {"0002_003.DAT", {2026, 11, 21, 17, 40, 48}, -1, 35},
    };
    std::vector<QString> written;
    std::uint32_t id = 101;
    for (const File& f : files) {
        DemoDrivePlan plan;
        plan.start = f.start;
        plan.brakingAtSecond = f.braking;
        plan.cruiseSpeed = f.speed;
        plan.recordingId = id++;
        plan.startCounter = 1'000'000 + id * 30'000;
        const QString path = folder + '/' + QString::fromLatin1(f.name);
        writeDemoRecording(path, plan);
        written.push_back(path);
    }
    return written;
}
