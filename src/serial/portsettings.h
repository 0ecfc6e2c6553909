#pragma once

#include <QSerialPort>
#include <QString>

// Everything a port is opened with, from the lists to the link.
struct PortSettings
{
    int port = 0;        // COM n, 1 .. 16; 0 when the list has no selection
    qint32 baudRate = 0; // 0 when the list has no selection
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::FlowControl flowControl = QSerialPort::NoFlowControl;

    friend bool operator==(const PortSettings &a, const PortSettings &b)
    {
        return a.port == b.port && a.baudRate == b.baudRate && a.dataBits == b.dataBits && a.parity == b.parity
               && a.stopBits == b.stopBits && a.flowControl == b.flowControl;
    }
};

// The settings as the status bar shows them: "2400,n,8,1".
QString settingsText(const PortSettings &settings);

// Start, data, parity and stop bits of one character on the line.
int bitsPerCharacter(const PortSettings &settings);
