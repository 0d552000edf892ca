#pragma once

#include <pty.h>
#include <unistd.h>

#include <QString>
#include <stdexcept>
#include <string>

// A pseudo-terminal pair: the slave side opens like a serial port and takes line settings but refuses DTR,
// so tests never touch a real port of the machine. Its line settings are read back through the master side.
class PseudoTerminal {
public:
    PseudoTerminal() {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
        path_ = name;
    }
    ~PseudoTerminal() {
        close(slave_);
        close(master_);
    }
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    QString Path() const { return QString::fromStdString(path_); }
    int Master() const { return master_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string path_;
};
