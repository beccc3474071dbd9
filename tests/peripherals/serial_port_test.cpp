// The serial-port library on pseudo-terminals: the line it sets, the bytes it writes, what
// its reader keeps, and its failures.
#include "peripherals/serial_port.h"

#include <gtest/gtest.h>

#include "peripherals/serial_line.h"
#include "umd_fixture.h"

namespace velcrum {
namespace {

using testing::Bytes;
using testing::PtyChain;

class SerialPortTest : public testing::UmdChainsTest {};

TEST(SerialLineTest, RequestsRawEightBitsEvenParityOneStopBit) {
  termios cooked{};
  cooked.c_lflag = ICANON | ECHO | ISIG;
  cooked.c_oflag = OPOST | ONLCR;
  cooked.c_iflag = ICRNL | IXON;
  cooked.c_cflag = CS7 | PARODD | CSTOPB | CRTSCTS;
  const termios line = SerialLineTermios(cooked, B9600);
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_NE(line.c_cflag & PARENB, 0u);
  EXPECT_EQ(line.c_cflag & (PARODD | CSTOPB | CRTSCTS), 0u);
  EXPECT_NE(line.c_cflag & CREAD, 0u);
  EXPECT_NE(line.c_cflag & CLOCAL, 0u);
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO | ISIG), 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u);
  EXPECT_EQ(line.c_iflag & (ICRNL | IXON), 0u);
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(cfgetispeed(&line), static_cast<speed_t>(B9600));

  EXPECT_EQ(SerialSpeed(38400), std::optional<speed_t>(B38400));
  EXPECT_EQ(SerialSpeed(12345), std::nullopt);
}

TEST_F(SerialPortTest, OpensTheMappedDeviceWithTheLineAndWritesEveryByte) {
  PtyChain chain;
  ASSERT_TRUE(chain.ok());
  MapPorts({{3, &chain}});
  const int index = OpenSerialPort(3, 9600);
  ASSERT_EQ(index, 2);

  const termios line = chain.SlaveLine();
  EXPECT_EQ(cfgetospeed(&line), static_cast<speed_t>(B9600));
  EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
  EXPECT_EQ(line.c_cflag & CSTOPB, 0u);
  EXPECT_EQ(line.c_oflag & OPOST, 0u) << "a 0x0a byte must not become CR LF";
  EXPECT_EQ(line.c_lflag & (ICANON | ECHO), 0u);

  // Every byte value, the line-end and flow-control bytes among them, arrives unchanged.
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  EXPECT_EQ(WriteSerialPort(index, {reinterpret_cast<const uint8_t*>(all.data()), all.size()}),
            256u);
  EXPECT_EQ(chain.Read(), all);
  CloseSerialPort(index);
}

TEST_F(SerialPortTest, TheReaderKeepsWhatArrivesUntilThePortCloses) {
  PtyChain chain;
  ASSERT_TRUE(chain.ok());
  MapPorts({{1, &chain}});
  const int index = OpenSerialPort(1, 38400);
  ASSERT_EQ(index, 0);
  chain.Send(Bytes({0x80, 0x31, 'A', 'B', 0x0a, 0x0d, 0x11, 0x13}));
  std::string received;
  for (int tries = 0; tries < 200 && received.size() < 8; ++tries) {
    usleep(10000);
    received = SerialPortReceived(index);
  }
  EXPECT_EQ(received, Bytes({0x80, 0x31, 'A', 'B', 0x0a, 0x0d, 0x11, 0x13}));
  CloseSerialPort(index);
  EXPECT_EQ(SerialPortReceived(index), "");
  EXPECT_EQ(WriteSerialPort(index, {}), kSerialWriteFailed) << "closed";
  // Closed and opened again, as UE 0 then UE 1 do.
  EXPECT_EQ(OpenSerialPort(1, 38400), 0);
  CloseSerialPort(0);
}

TEST_F(SerialPortTest, FailuresAreReportedAndLeaveNothingOpen) {
  PtyChain chain;
  ASSERT_TRUE(chain.ok());
  MapPorts({{2, &chain}});
  ASSERT_EQ(OpenSerialPort(2, 38400), 1);
  EXPECT_EQ(OpenSerialPort(2, 38400), kSerialPortAlreadyOpen);
  EXPECT_TRUE(DebuggerSaid("Serial Port 2 is already open"));

  EXPECT_EQ(OpenSerialPort(0, 38400), kSerialPortFailed);
  EXPECT_EQ(OpenSerialPort(257, 38400), kSerialPortFailed);
  // COM5 is /dev/ttyS4 without a Ports key; it is absent or not a usable line here.
  std::ofstream(base_ / "drive_c" / "windows" / "VELCRUM.INI", std::ios::app)
      << "COM6=" << (base_ / "no-such-device").string() << "\r\nCOM7=/dev/null\r\n";
  EXPECT_EQ(OpenSerialPort(6, 38400), kSerialPortFailed);
  EXPECT_TRUE(DebuggerSaid("no-such-device): No such file or directory"));
  EXPECT_EQ(OpenSerialPort(7, 38400), kSerialPortFailed) << "not a terminal";
  EXPECT_TRUE(DebuggerSaid("Serial port 7 (/dev/null): not a terminal"));
  CloseSerialPort(1);
  EXPECT_EQ(OpenSerialPort(2, 12345), kSerialPortFailed);
  EXPECT_TRUE(DebuggerSaid("no such baud rate: 12345"));
}

TEST_F(SerialPortTest, AWriteToAVanishedLineFailsAndSaysSo) {
  auto chain = std::make_unique<PtyChain>();
  ASSERT_TRUE(chain->ok());
  MapPorts({{1, chain.get()}});
  ASSERT_EQ(OpenSerialPort(1, 38400), 0);
  chain.reset();  // the far end and the test's own slave descriptor gone
  const uint8_t bytes[] = {1, 2, 3};
  EXPECT_EQ(WriteSerialPort(0, bytes), kSerialWriteFailed);
  EXPECT_TRUE(DebuggerSaid("Serial port 1: write failed"));
  CloseSerialPort(0);  // the reader, waiting on a hung-up line, still ends
}

}  // namespace
}  // namespace velcrum
