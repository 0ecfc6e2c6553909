#pragma once

#include <QByteArray>

#include <array>
#include <optional>

// A command code: the lead byte 0xF0, then one ASCII letter (case matters).
using CommandCode = std::array<quint8, 2>;

struct CommandCodes
{
    CommandCode CmdSendLine{};
    CommandCode CmdClearLine{};
    CommandCode CmdReloadLine{};
    CommandCode CmdSelectPage{};
    CommandCode CmdReloadPage{};
    CommandCode CmdCursorOn{};
    CommandCode CmdCursorOff{};
    CommandCode CmdHPos{};
    CommandCode CmdVPos{};
    CommandCode CmdLeftOffset{};
    CommandCode CmdBgTransparency{};
};

inline constexpr quint8 CmdOSDTurnOff = 0xBD;
inline constexpr quint8 LineTerminator = 0x0A;

// Start-up fills the codes in two steps: ten of them together with the
// transparency bounds, and CmdReloadLine once the controls are disabled.
void InitCommandCodes(CommandCodes &codes, qint16 &transparencyMin, qint16 &transparencyMax);
void initReloadLineCode(CommandCodes &codes);

QByteArray codeBytes(const CommandCode &code);

// Index + 1 as two upper-case hexadecimal ASCII digits; -1 gives "00".
// Empty for an index whose number does not fit (outside -1 .. 254).
std::optional<QByteArray> numberField(int index);
