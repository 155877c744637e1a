#include "SampleCard.h"

#include "RecordEntry.h"
#include "SafeFile.h"
#include "XmlHandler.h"

#include <QDateTime>
#include <QDir>
#include <QDomDocument>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace KAVO {

namespace {

constexpr int FrameRate = 10;       // frames per second
constexpr int FastPerFrame = 21;    // messages of every frame
constexpr int SlowPerSecond = 9;    // messages of the first frame of each second
constexpr double FrameStep = 1.0 / FrameRate;
constexpr double MessageStep = 0.0002;  // spacing of the messages of one frame
constexpr double Pi = 3.14159265358979323846;

// Data-type bytes of the messages (record byte 1).
enum : uint8_t {
    tNODATA = 0, tERROR = 1, tFLOAT = 2, tLONG = 3, tULONG = 4, tBLONG = 5, tSHORT = 6, tUSHORT = 7,
    tBSHORT = 8, tCHAR = 9, tUCHAR = 10, tBCHAR = 11, tSHORT_2 = 12, tUSHORT_2 = 13, tBSHORT_2 = 14,
    tCHAR_4 = 15, tUCHAR_4 = 16, tBCHAR_4 = 17, tCHAR_2 = 18, tUCHAR_2 = 19, tBCHAR_2 = 20, tMEMID = 21,
    tCHKSUM = 22, tACHAR = 23, tACHAR_2 = 24, tACHAR_4 = 25, tCHAR_3 = 26, tUCHAR_3 = 27, tBCHAR_3 = 28,
    tACHAR_3 = 29, tLONG48 = 30, tNMEA = 70
};

const uint8_t DiagnosticTypes[13] = {tNODATA, tERROR,  tBCHAR, tBSHORT_2, tBCHAR_4, tBCHAR_2, tMEMID,
                                     tCHKSUM, tACHAR,  tACHAR_2, tACHAR_4, tBCHAR_3, tACHAR_3};

double smooth(double u, double from, double to)
{
    if (u <= from)
        return 0.0;
    if (u >= to)
        return 1.0;
    const double x = (u - from) / (to - from);
    return x * x * (3 - 2 * x);
}

bool within(double u, double from, double to) { return u >= from && u < to; }

// The state of the aircraft and its engine at a fraction u of the flight.
struct FlightState
{
    double rpm, egt, coolantK, oilPressureBar, oilTempC, fuelLevel, fuelPressureBar;
    double altitude, groundSpeed, lat, lon, throttle, vibration;
    int mode;
    bool laneB;
};

FlightState flightAt(double u, int flight)
{
    FlightState s{};
    // Engine speed by phase: idle, take-off (with a short overspeed), climb, cruise, descent, taxi.
    if (u < 0.01)
        s.rpm = 300 + 1500 * smooth(u, 0.0, 0.01);
    else if (u < 0.05)
        s.rpm = 1800 + 200 * std::sin(u * 400);
    else if (u < 0.12)
        s.rpm = 2000 + 3650 * smooth(u, 0.05, 0.065) + 200 * smooth(u, 0.075, 0.08) * (1 - smooth(u, 0.09, 0.095));
    else if (u < 0.3)
        s.rpm = 5650 - 250 * smooth(u, 0.12, 0.14);
    else if (u < 0.8)
        s.rpm = 5400 - 400 * smooth(u, 0.3, 0.32) + 40 * std::sin(u * 90);
    else if (u < 0.95)
        s.rpm = 5000 - 1000 * smooth(u, 0.8, 0.82);
    else
        s.rpm = 4000 - 2100 * smooth(u, 0.95, 0.96) - 1900 * smooth(u, 0.995, 1.0);

    s.mode = u < 0.01 ? 1 : u < 0.05 ? 2 : u < 0.12 ? 4 : u < 0.95 ? 3 : u < 0.995 ? 2 : 5;
    s.throttle = std::min(1.0, std::max(0.0, (s.rpm - 1800) / 4000));
    s.egt = 600 + (s.rpm - 1800) * 0.068 + 14 * smooth(u, 0.078, 0.082) * (1 - smooth(u, 0.088, 0.092));
    s.coolantK = 330 + 35 * smooth(u, 0.0, 0.1) + 31 * std::exp(-std::pow((u - 0.2) / 0.03, 2));
    s.oilTempC = 60 + 35 * smooth(u, 0.0, 0.15) + 48 * std::exp(-std::pow((u - 0.1) / 0.02, 2));
    s.oilPressureBar = 3.8 - 0.6 * s.throttle - (within(u, 0.9, 0.92) ? 2.6 : 0.0);
    s.fuelLevel = 60 - 52 * u;
    s.fuelPressureBar = within(u, 0.6, 0.61) ? 2.6 : 3.0;
    s.laneB = within(u, 0.5, 0.52);

    // Altitude in metres over a field at 600 m; speed in knots.
    s.altitude = 600 + 1800 * smooth(u, 0.065, 0.3) - 1800 * smooth(u, 0.8, 0.95);
    s.groundSpeed = u < 0.05 ? 10 : u < 0.12 ? 10 + 70 * smooth(u, 0.05, 0.065) : u < 0.3 ? 85 : u < 0.8 ? 105
                    : u < 0.95 ? 95 - 45 * smooth(u, 0.9, 0.95) : 50 - 40 * smooth(u, 0.95, 0.97);
    // A loop out of the field and back, one per flight, turning the other way on the next flight.
    const double a = 2 * Pi * smooth(u, 0.05, 0.95);
    const double dir = (flight % 2 == 0) ? 1.0 : -1.0;
    s.lat = 47.2602 + 0.35 * std::sin(a) * dir;
    s.lon = 11.3439 + 0.55 * (1 - std::cos(a));
    s.vibration = 12 + 30 * smooth(u, 0.05, 0.065) * (1 - smooth(u, 0.11, 0.12)) +
                  22 * smooth(u, 0.078, 0.082) * (1 - smooth(u, 0.088, 0.092));
    return s;
}

void putFloat(uint8_t* d, float v)
{
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    qToBigEndian(bits, d);
}

void putU32(uint8_t* d, uint32_t v) { qToBigEndian(v, d); }
void putU16(uint8_t* d, uint16_t v) { qToBigEndian(v, d); }

// The message stream of one flight, frame by frame.
class FlightStream
{
public:
    FlightStream(int flight, int64_t messages, const QDateTime& start)
        : mFlight(flight), mStart(start)
    {
        const double perSecond = SampleCard::messagesPerSecond();
        mDuration = std::max(1.0, static_cast<double>(messages) / perSecond);
    }

    // The next message: its flight time (seconds from take-off of the
    // stream) and the entry without time stamp.
    void next(RecordEntry& e, double& t)
    {
        if (mPending.empty() || mNext >= mPending.size())
            buildFrame();
        e = mPending[mNext];
        t = mTimes[mNext];
        ++mNext;
    }

private:
    void add(uint16_t channel, uint32_t id, uint8_t node, uint8_t type, const uint8_t* data4)
    {
        RecordEntry e;
        e.channel = channel;
        e.canId = id;
        e.data[0] = node;
        e.data[1] = type;
        e.data[2] = 0;
        e.data[3] = static_cast<uint8_t>(id & 0xFF);
        std::memcpy(e.data + 4, data4, 4);
        mTimes.push_back(mFrame * FrameStep + mPending.size() * MessageStep);
        mPending.push_back(e);
    }

    void addFloat(uint16_t ch, uint32_t id, uint8_t node, float v, uint8_t type = tFLOAT)
    {
        uint8_t d[4];
        putFloat(d, v);
        add(ch, id, node, type, d);
    }

    void buildFrame()
    {
        mPending.clear();
        mTimes.clear();
        mNext = 0;
        ++mFrame;
        const double t = mFrame * FrameStep;
        const double u = std::min(1.0, t / mDuration);
        const FlightState s = flightAt(u, mFlight);
        const bool lastFlightHalf = mFlight > 0 && u > 0.5;
        uint8_t d[4];

        if (mFrame % FrameRate == 0) {
            // Once a second: date and time first, then the slow values.
            const QDateTime now = mStart.addMSecs(static_cast<qint64>(t * 1000));
            const QDate date = now.date();
            const QTime time = now.time();
            d[0] = static_cast<uint8_t>(date.day());
            d[1] = static_cast<uint8_t>(date.month());
            putU16(d + 2, static_cast<uint16_t>(date.year()));
            add(1, 1206, 0x20, tUCHAR_2, d);
            d[0] = static_cast<uint8_t>(time.hour());
            d[1] = static_cast<uint8_t>(time.minute());
            d[2] = static_cast<uint8_t>(time.second());
            d[3] = 0;
            add(1, 1200, 0x20, tUCHAR_3, d);

            putU32(d, static_cast<uint32_t>(360000 + mFlight * 5400 + t));
            add(0, 0x10B, 0x10, tULONG, d);
            // The revolution counter fills bytes 2 to 7: a 48-bit number.
            {
                RecordEntry e;
                e.channel = 0;
                e.canId = 0x10C;
                const uint64_t rev = 2000000000ull + static_cast<uint64_t>(mRevolutions);
                for (int i = 0; i < 6; ++i)
                    e.data[2 + i] = static_cast<uint8_t>(rev >> (8 * (5 - i)));
                e.data[0] = 0x10;
                e.data[1] = tLONG48;
                mTimes.push_back(t + mPending.size() * MessageStep);
                mPending.push_back(e);
            }
            addFloat(0, 0x112, 0x10, static_cast<float>(s.fuelLevel));

            const double latAbs = std::fabs(s.lat), lonAbs = std::fabs(s.lon);
            // NMEA: degrees and minutes as ddmm.mmmm.
            addFloat(1, 0x303, 0x20,
                     static_cast<float>(std::floor(latAbs) * 100 + (latAbs - std::floor(latAbs)) * 60), tNMEA);
            addFloat(1, 0x304, 0x20,
                     static_cast<float>(std::floor(lonAbs) * 100 + (lonAbs - std::floor(lonAbs)) * 60), tNMEA);
            d[0] = static_cast<uint8_t>(t < 8 ? 3 : 9 + (mFrame / 300) % 3);
            d[1] = static_cast<uint8_t>(t < 8 ? 0 : 1);
            d[2] = d[3] = 0;
            add(1, 0x306, 0x20, tUCHAR_2, d);

            // Diagnostics the workstation does not decode, one kind per second.
            const int k = static_cast<int>((mFrame / FrameRate) % 13);
            d[0] = static_cast<uint8_t>('A' + k);
            d[1] = 0x5A;
            d[2] = static_cast<uint8_t>(k);
            d[3] = 0xC3;
            add(0, 0x7E0 + static_cast<uint32_t>(k), 0x10, DiagnosticTypes[k], d);
        }

        // Engine bus, every frame.
        addFloat(0, 0x100, 0x10, static_cast<float>(s.rpm));
        addFloat(0, 0x101, 0x10, static_cast<float>(s.egt));
        addFloat(0, 0x102, 0x10, static_cast<float>(s.egt - 6));
        addFloat(0, 0x103, 0x10, static_cast<float>(s.coolantK));
        std::memset(d, 0, 4);
        putU16(d, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s.oilPressureBar * 100))));
        add(0, 0x104, 0x10, tSHORT, d);
        std::memset(d, 0, 4);
        putU16(d, static_cast<uint16_t>(std::lround((s.oilTempC + 40) * 10)));
        add(0, 0x105, 0x10, tUSHORT, d);
        const double ambient = 15 - 6.5 * (s.altitude - 600) / 1000;
        putU16(d, static_cast<uint16_t>(static_cast<int16_t>(std::lround((ambient + 8 + 4 * s.throttle) * 10))));
        putU16(d + 2, static_cast<uint16_t>(static_cast<int16_t>(std::lround(ambient * 10))));
        add(0, 0x106, 0x10, tSHORT_2, d);
        std::memset(d, 0, 4);
        d[0] = static_cast<uint8_t>(static_cast<int8_t>(std::lround(12 + 16 * s.throttle)));
        add(0, 0x107, 0x10, tCHAR, d);
        d[0] = static_cast<uint8_t>(std::lround(250 * s.throttle));
        add(0, 0x108, 0x10, tUCHAR, d);
        const bool knock = s.rpm > 5600;
        for (int i = 0; i < 4; ++i)
            d[i] = static_cast<uint8_t>(static_cast<int8_t>(knock ? 2 + (mFrame + i) % 3 : 0));
        add(0, 0x109, 0x10, tCHAR_4, d);
        std::memset(d, 0, 4);
        d[0] = static_cast<uint8_t>(static_cast<int8_t>(std::lround(3 * std::sin(t * 0.7))));
        d[1] = static_cast<uint8_t>(static_cast<int8_t>(std::lround(-3 * std::sin(t * 0.5))));
        add(0, 0x10A, 0x10, tCHAR_2, d);
        putU16(d, static_cast<uint16_t>(std::lround((5 + 25 * s.throttle) * 100)));
        putU16(d + 2, static_cast<uint16_t>(std::lround(s.fuelPressureBar * 1000)));
        add(0, 0x110, 0x10, tUSHORT_2, d);
        for (int i = 0; i < 4; ++i)
            d[i] = static_cast<uint8_t>(std::lround(std::min(99.0, 35 + 61 * s.throttle * (1 - 0.01 * i))));
        add(0, 0x111, 0x10, tUCHAR_4, d);

        // Lamps: off, on or flashing with the values they watch.
        uint32_t lamps = 0;
        if (s.oilPressureBar < 1.5)
            lamps |= 1u << 0;
        if (s.coolantK > 393.15)
            lamps |= 2u << 2;
        else if (s.coolantK > 378.15)
            lamps |= 1u << 2;
        if (s.mode == 1)
            lamps |= 1u << 4;
        if (s.rpm > 5800)
            lamps |= 2u << 6;
        else if (s.egt > 880)
            lamps |= 1u << 6;
        if (s.fuelPressureBar < 2.8)
            lamps |= 1u << 8;
        lamps |= static_cast<uint32_t>(s.mode) << 16;
        putU32(d, lamps);
        add(0, 0x200, 0x10, tBLONG, d);

        uint32_t errors = s.laneB ? 0x2u : 0x1u;
        if (s.mode == 1)
            errors |= 1u << 2;
        if (s.oilPressureBar < 1.5)
            errors |= 1u << 3;
        if (within(u, 0.4, 0.405))
            errors |= 1u << 5;
        if (s.rpm > 5800)
            errors |= 1u << 16;
        if (s.coolantK > 393.15)
            errors |= 1u << 17;
        if (lastFlightHalf)
            errors |= 1u << 24;
        int faults = 0;
        for (uint32_t v = errors & ~0x3u; v; v &= v - 1)
            ++faults;
        std::memset(d, 0, 4);
        putU16(d, static_cast<uint16_t>((faults << 8) | (s.laneB ? 1 : 0)));
        add(0, 0x201, 0x10, tBSHORT, d);
        putU32(d, errors);
        add(0, 0x280, 0x10, tBLONG, d);

        // Avionics bus, every frame.
        putU32(d, static_cast<uint32_t>(static_cast<int32_t>(std::lround(s.lat * 1e7))));
        add(1, 0x300, 0x20, tLONG, d);
        putU32(d, static_cast<uint32_t>(static_cast<int32_t>(std::lround(s.lon * 1e7))));
        add(1, 0x301, 0x20, tLONG, d);
        addFloat(1, 0x302, 0x20, static_cast<float>(s.altitude));
        std::memset(d, 0, 4);
        putU16(d, static_cast<uint16_t>(std::lround(s.groundSpeed * 100)));
        add(1, 0x305, 0x20, tUSHORT, d);
        for (int i = 0; i < 3; ++i)
            d[i] = static_cast<uint8_t>(static_cast<int8_t>(std::lround(s.vibration * (1.0 - 0.15 * i) *
                                                                        (0.9 + 0.1 * std::sin(t * 3 + i)))));
        d[3] = 0;
        add(1, 0x400, 0x30, tCHAR_3, d);

        mRevolutions += s.rpm / 60.0 * FrameStep;
    }

    int mFlight;
    QDateTime mStart;
    double mDuration = 1.0;
    int64_t mFrame = -1;
    double mRevolutions = 0.0;
    std::vector<RecordEntry> mPending;
    std::vector<double> mTimes;
    std::size_t mNext = 0;
};

void setText(uint8_t* field, int width, const char* text)
{
    std::memset(field, 0, static_cast<std::size_t>(width));
    std::memcpy(field, text, std::min<std::size_t>(std::strlen(text), static_cast<std::size_t>(width)));
}

} // namespace

SampleCard::SampleCard(const Options& options) : mOptions(options) {}

int SampleCard::messagesPerSecond() { return FastPerFrame * FrameRate + SlowPerSecond; }

bool SampleCard::write()
{
    mFiles.clear();
    mOffset = 0.0;
    const int files = std::max(1, mOptions.files);
    const int64_t total = std::max<int64_t>(0, mOptions.messages);
    if (!QDir().mkpath(mOptions.folder)) {
        printf("could not create folder <%s>\n", mOptions.folder.toLocal8Bit().constData());
        return false;
    }
    const bool swap = (Q_BYTE_ORDER == Q_LITTLE_ENDIAN) != mOptions.littleEndian;
    const bool withHigh = files >= 2;
    const int flights = withHigh ? files - 1 : 1;

    std::vector<int64_t> share(static_cast<std::size_t>(files), total / files);
    for (int64_t i = 0; i < total % files; ++i)
        ++share[static_cast<std::size_t>(i)];

    const QDateTime firstStart(QDate(2024, 5, 14), QTime(8, 30, 0), Qt::UTC);
    double lowBase = 0.0;
    FlightStream* stream = nullptr;
    std::vector<FlightStream> streams;
    streams.reserve(static_cast<std::size_t>(flights));

    std::vector<uint8_t> chunk;
    const int chunkRecords = 65536;
    chunk.reserve(static_cast<std::size_t>(chunkRecords) * RecordEntry::RecordSize);

    for (int f = 0; f < files; ++f) {
        const bool high = withHigh && f == files - 1;
        const int flight = high ? flights - 1 : f;
        const QDateTime start = firstStart.addDays(flight).addSecs(flight * 2400);
        if (!high) {
            int64_t messages = share[static_cast<std::size_t>(f)];
            if (withHigh && flight == flights - 1)
                messages += share[static_cast<std::size_t>(files - 1)];
            streams.emplace_back(flight, messages, start);
            stream = &streams.back();
        }
        // Each recording starts at the recorder's power-up; the high file
        // continues the last flight after the recorder restarted.
        const double powerUp = high ? 1.5 : 1.2 + 0.37 * f;
        const QString name = high ? QStringLiteral("LOG_8001.CAN") : QString::asprintf("LOG_%04d.CAN", f + 1);
        const QString path = mOptions.folder + "/" + name;
        const int64_t count = share[static_cast<std::size_t>(f)];

        SafeFile out(path);
        if (!out.open())
            return false;

        // The first message's flight time is known only once it is drawn.
        RecordEntry e;
        double t = 0.0;
        stream->next(e, t);
        const double base = high ? powerUp - t : powerUp;
        if (high)
            mOffset = lowBase - base;  // high time + offset = the low file's time scale
        else
            lowBase = base;

        uint8_t header[128] = {};
        const uint16_t mark = 0xABBA;
        std::memcpy(header, &mark, 2);
        if (swap)
            std::swap(header[0], header[1]);
        auto put16 = [&](int at, uint16_t v) {
            if (swap)
                v = qbswap(v);
            std::memcpy(header + at, &v, 2);
        };
        auto put32 = [&](int at, uint32_t v) {
            if (swap)
                v = qbswap(v);
            std::memcpy(header + at, &v, 4);
        };
        const QDateTime fileStart = start.addMSecs(static_cast<qint64>(t * 1000));
        put16(12, static_cast<uint16_t>(fileStart.date().year()));
        header[14] = static_cast<uint8_t>(fileStart.date().month());
        header[15] = static_cast<uint8_t>(fileStart.date().day());
        header[16] = static_cast<uint8_t>(fileStart.time().hour());
        header[17] = static_cast<uint8_t>(fileStart.time().minute());
        header[18] = static_cast<uint8_t>(fileStart.time().second());
        uint32_t hi = 0, lo = 0;
        RecordEntry::secondsToTicks(std::max(0.0, base + t - 0.5), hi, lo);
        put32(20, hi);
        put32(24, lo);
        put32(28, 1);
        put32(32, 471100u + static_cast<uint32_t>(flight));
        setText(header + 36, 13, "SW-4-0815-01A");
        setText(header + 49, 13, "EMU-915-iS");
        setText(header + 62, 13, QString::asprintf("OV-915-%05d", 4711 + flight).toLatin1().constData());
        setText(header + 75, 13, "OSTERVAN 915");
        setText(header + 88, 13, "SW-4-0816-02B");
        setText(header + 101, 7, "V1.2.21");
        if (!out.write(reinterpret_cast<const char*>(header), 128))
            return false;

        chunk.clear();
        for (int64_t i = 0; i < count; ++i) {
            if (i > 0)
                stream->next(e, t);
            RecordEntry::secondsToTicks(base + t, e.tickHigh, e.tickLow);
            const std::size_t at = chunk.size();
            chunk.resize(at + RecordEntry::RecordSize);
            e.toRecord(chunk.data() + at, swap);
            if (chunk.size() >= chunk.capacity()) {
                if (!out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<qint64>(chunk.size())))
                    return false;
                chunk.clear();
            }
        }
        if (!chunk.empty() &&
            !out.write(reinterpret_cast<const char*>(chunk.data()), static_cast<qint64>(chunk.size())))
            return false;
        if (!out.commit())
            return false;
        mFiles << path;
    }

    if (withHigh) {
        QDomDocument document;
        XmlHandler xml;
        QDomElement root = xml.xmlCreateElement(document, document, "KavoOffset");
        QDomElement offset = xml.xmlCreateElement(document, root, "Offset");
        xml.xmlCreateAttribute(document, offset, "value", mOffset);
        if (!xml.xmlWriteFile(document, mOptions.folder + "/Offset.xml"))
            return false;
    }
    return true;
}

} // namespace KAVO
