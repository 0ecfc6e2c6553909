#pragma once

#include <QSerialPort>
#include <QString>

#include <optional>

// The line format that a settings string names.
struct LineFormat
{
    qint32 baud = 0;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    int bitsPerChar = 10; // start, data, parity and stop bits of one character
};

// Reads "baud,parity,data bits,stop bits" as the Windows serial control takes
// it ("2400,n,8,1"); empty when the string is not of that form.
std::optional<LineFormat> parseSettings(const QString &settings);
