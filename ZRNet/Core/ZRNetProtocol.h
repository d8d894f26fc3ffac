#pragma once

#include "ZRNetTypes.h"

// The wire protocol between the editor and a unit, shared by the transport, the
// config client and the simulated unit. docs/protocol.md describes it in prose.
// All numbers on the wire are big-endian.

// ---- Connection -------------------------------------------------------------
constexpr UWORD kZRNetTcpPort = 51321;
constexpr UWORD kZRNetProtocolVersion = 3;

// A frame: start byte, the four header words (connection id, destination,
// source, method), a 32-bit payload length, the payload and the end byte.
// The receiver ignores the connection word and stamps its own connection id.
constexpr UBYTE kZRNetFrameStart = 0xF0;
constexpr UBYTE kZRNetFrameEnd = 0xF7;
constexpr size_t kZRNetFrameHeaderSize = 1 + 4 * 2 + 4;
constexpr size_t kZRNetFrameOverhead = kZRNetFrameHeaderSize + 1;
// A frame that announces a longer payload is malformed.
constexpr size_t kZRNetMaxPayloadLength = 65535;

// Utility frames belong to the connection and never reach the registry. They
// carry connection, destination and source 0. HELLO and HELLO ACK carry the
// protocol version and the sender's UDP port (two words); BYE and HEARTBEAT
// carry nothing. Heartbeats travel by UDP, the others by TCP.
enum eZRNetUtilityMethod : UWORD
{
    eMethodHello = 10,
    eMethodHelloAck = 11,
    eMethodBye = 12,
    eMethodHeartbeat = 13,
};

constexpr bool IsUtilityMethod(UWORD method)
{
    return method >= eMethodHello && method <= eMethodHeartbeat;
}

// A connection that is not made within this time fails.
constexpr int kZRNetConnectTimeoutMs = 3000;
constexpr int kZRNetHandshakeTimeoutMs = 3000;
constexpr int kZRNetHeartbeatIntervalMs = 1000;

// ---- Config manager ---------------------------------------------------------
constexpr const char* kConfigManagerName = "Kelvari Config Manager";
constexpr size_t kConfigChunkSize = 32000;
// Chunk indices are 16 bits: a config needs at most this many chunks.
constexpr int kConfigMaxChunkCount = 65536;

// Object methods of the config manager. A chunk's payload is its index and the
// last index (two words), then the data. Progress carries the index of the
// chunk received and the last index. The end of a transfer carries one byte:
// 0 for success, else a failure code below. A download is the chunks of the
// stored config (none when there is none) followed by the end.
enum eConfigManagerMethod : UWORD
{
    eConfigMethodLogIn = 260,          // user, NUL, password, NUL
    eConfigMethodLogInReply = 261,     // 1 accepted, 0 refused
    eConfigMethodUploadChunk = 262,    // index, last index, data
    eConfigMethodUploadProgress = 263, // index, last index
    eConfigMethodDownloadRequest = 264,
    eConfigMethodDownloadChunk = 265,  // index, last index, data
    eConfigMethodTransferEnd = 266,    // status
};

// The config client's failure codes; the unit uses 3, 4 and 5 as end statuses.
enum eConfigFailureCode : int
{
    eConfigFailureNone = 0,
    eConfigFailureUnknown = 1,
    eConfigFailureConnectionLost = 2,
    eConfigFailureUnitError = 3,
    eConfigFailureIncorrectPassword = 4,
    eConfigFailureBusy = 5,
};

// The client keeps this many chunks in flight ahead of the unit's progress.
constexpr int kConfigUploadWindow = 8;
// A transfer whose unit stays silent this long fails as a lost connection.
constexpr int kConfigReplyTimeoutMs = 10000;

// ---- Unit discovery ---------------------------------------------------------
// The finder sends probes from its announcement socket; a unit answers each probe
// with one announcement sent to the probe's source address and port. All numbers
// are big-endian; texts are UTF-8 without a terminating NUL.
//
// Probe (6 bytes):
//   0  4  magic "KVDP"
//   4  1  version (1)
//   5  1  kind (1 = probe)
// Announcement (at least 10 bytes):
//   0  4  magic "KVDP"
//   4  1  version (1)
//   5  1  kind (2 = announcement)
//   6  1  unit type (eUnitType: 0, 1 or 2)
//   7  1  length n of the unit name (1 to 255), then the name
//   .  1  length f of the find name (0 to 255), then the find name
//   .  2  length i of the information text, then the text
// A datagram that is shorter or longer than its lengths say, has another magic,
// version or kind, an unknown unit type or an empty unit name is ignored. The
// reader removes, code point by code point, control, format (bidirectional
// overrides, zero-width characters, tags) and line-separator characters and the
// other code points that may show as nothing (fillers, variation selectors)
// from the names, and all of them but line feeds and tabs from the information
// text, which it keeps to its first characters; so what is shown is what tells
// units apart, and a name left empty is ignored too.

constexpr UWORD kDiscoveryProbePort = 51320;
constexpr UWORD kDiscoveryAnnouncementPort = 51319;
constexpr char kDiscoveryMagic[4] = {'K', 'V', 'D', 'P'};
constexpr UBYTE kDiscoveryVersion = 1;
constexpr UBYTE kDiscoveryKindProbe = 1;
constexpr UBYTE kDiscoveryKindAnnouncement = 2;
constexpr int kDiscoveryProbeSize = 6;
constexpr int kDiscoveryAnnouncementMinimumSize = 10;
// The editor keeps this many characters (code points) of a unit's information text, and this many units.
constexpr int kDiscoveryMaxInformationLength = 1024;
constexpr int kDiscoveryMaxUnits = 256;
// ---- End of unit discovery --------------------------------------------------
