// Request handling of the hwinterface port I/O driver: only the port read is served, and only
// with buffers large enough for it.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "driver/dispatch.h"

namespace {

struct RefusalCase {
    const char* name;
    std::uint32_t code;
    std::uint32_t inputLength;
    std::uint32_t outputLength;
    std::uint32_t status;
};

const RefusalCase kRefusals[] = {
    // The write request exists in the device's code space but is never served.
    {"write request, complete input", HWIF_IOCTL_WRITE_PORT_BYTE, 3, 0,
     HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"write request, roomy buffers", HWIF_IOCTL_WRITE_PORT_BYTE, 16, 16,
     HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"code 0", 0, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"function 0x800", 0x9C402000u, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"function 0x803", 0x9C40200Cu, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    // The read function with another transfer method or access right is another request.
    {"read function, direct input", 0x9C402005u, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"read function, neither buffered", 0x9C402007u, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"read function, read access", 0x9C406004u, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"read function, other device type", 0x00222004u, 2, 1, HWIF_STATUS_INVALID_DEVICE_REQUEST},
    {"read, no input", HWIF_IOCTL_READ_PORT_BYTE, 0, 1, HWIF_STATUS_BUFFER_TOO_SMALL},
    {"read, one input byte", HWIF_IOCTL_READ_PORT_BYTE, 1, 1, HWIF_STATUS_BUFFER_TOO_SMALL},
    {"read, no output room", HWIF_IOCTL_READ_PORT_BYTE, 2, 0, HWIF_STATUS_BUFFER_TOO_SMALL},
    {"read, neither", HWIF_IOCTL_READ_PORT_BYTE, 0, 0, HWIF_STATUS_BUFFER_TOO_SMALL},
};

std::vector<std::uint16_t> g_portsRead;

std::uint8_t RecordingReader(std::uint16_t port)
{
    g_portsRead.push_back(port);
    return static_cast<std::uint8_t>(0x80 | (port & 0x7F));
}

class DriverDispatch : public ::testing::Test {
protected:
    void SetUp() override { g_portsRead.clear(); }
};

TEST_F(DriverDispatch, RefusesEverythingButAWellFormedRead)
{
    for (const RefusalCase& c : kRefusals) {
        SCOPED_TRACE(c.name);
        std::uint8_t buffer[16] = {0x79, 0x03, 0x5A, 0x5A};

        hwif_decision d = hwif_decide(c.code, buffer, c.inputLength, c.outputLength);
        EXPECT_EQ(d.action, HWIF_ACTION_REFUSE);
        EXPECT_EQ(d.status, c.status);

        hwif_completion done = hwif_serve(c.code, buffer, c.inputLength, c.outputLength,
                                          RecordingReader);
        EXPECT_EQ(done.status, c.status);
        EXPECT_EQ(done.information, 0u);
        EXPECT_TRUE(g_portsRead.empty()) << "a refused request read a port";
        EXPECT_EQ(buffer[0], 0x79) << "a refused request changed the buffer";
        EXPECT_EQ(buffer[1], 0x03);
        EXPECT_EQ(buffer[2], 0x5A);
    }
}

TEST_F(DriverDispatch, ReadTakesThePortLittleEndianFromTheFirstTwoBytes)
{
    struct {
        std::uint8_t low, high;
        std::uint32_t inputLength, outputLength;
        std::uint16_t port;
    } const cases[] = {
        {0x79, 0x03, 2, 1, 0x0379},  // LPT1 status register
        {0x79, 0x02, 2, 1, 0x0279},
        {0xBD, 0x03, 2, 1, 0x03BD},
        {0x03, 0x79, 2, 1, 0x7903},  // byte order matters
        {0xFF, 0xFF, 2, 1, 0xFFFF},
        {0x00, 0x00, 2, 1, 0x0000},
        {0x79, 0x03, 3, 4, 0x0379},  // larger buffers are fine; only the first two bytes count
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "port 0x" << std::hex << c.port);
        std::uint8_t buffer[8] = {c.low, c.high, 0xEE, 0xEE};
        hwif_decision d = hwif_decide(HWIF_IOCTL_READ_PORT_BYTE, buffer, c.inputLength,
                                      c.outputLength);
        EXPECT_EQ(d.action, HWIF_ACTION_READ_PORT);
        EXPECT_EQ(d.port, c.port);
    }
}

TEST_F(DriverDispatch, ServedReadReadsOncePutsTheByteFirstAndReportsOneByte)
{
    std::uint8_t buffer[4] = {0x79, 0x03, 0xEE, 0xEE};
    hwif_completion done = hwif_serve(HWIF_IOCTL_READ_PORT_BYTE, buffer, 2, 1, RecordingReader);

    EXPECT_EQ(done.status, HWIF_STATUS_SUCCESS);
    EXPECT_EQ(done.information, 1u);
    ASSERT_EQ(g_portsRead.size(), 1u);
    EXPECT_EQ(g_portsRead[0], 0x0379);
    EXPECT_EQ(buffer[0], 0x80 | 0x79);
    EXPECT_EQ(buffer[2], 0xEE) << "wrote past the one output byte";
}

TEST_F(DriverDispatch, MissingBufferOrReaderIsRefusedWithoutAccess)
{
    // A buffered request with lengths but no system buffer must not be dereferenced.
    EXPECT_EQ(hwif_decide(HWIF_IOCTL_READ_PORT_BYTE, nullptr, 2, 1).status,
              HWIF_STATUS_INVALID_PARAMETER);
    hwif_completion done = hwif_serve(HWIF_IOCTL_READ_PORT_BYTE, nullptr, 2, 1, RecordingReader);
    EXPECT_EQ(done.status, HWIF_STATUS_INVALID_PARAMETER);
    EXPECT_EQ(done.information, 0u);

    std::uint8_t buffer[2] = {0x79, 0x03};
    done = hwif_serve(HWIF_IOCTL_READ_PORT_BYTE, buffer, 2, 1, nullptr);
    EXPECT_NE(done.status, HWIF_STATUS_SUCCESS);
    EXPECT_EQ(done.information, 0u);
    EXPECT_TRUE(g_portsRead.empty());
}

}  // namespace
