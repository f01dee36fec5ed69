#pragma once

#include <QApplication>
#include <QDir>
#include <QString>
#include <iostream>
#include <optional>

namespace qb::test {

// A renderer's one argument, the folder it writes its pictures to (made when missing),
// with the application drawn in the style quillbay.exe uses. Nothing, after printing
// the usage of `renderer`, when the folder was not given.
inline std::optional<QString> renderFolder(int argc, char** argv, const char* renderer) {
#ifdef Q_OS_WIN
    QApplication::setStyle(QStringLiteral("windowsvista"));
#else
    QApplication::setStyle(QStringLiteral("Fusion"));
#endif
    if (argc != 2) {
        std::cerr << "usage: " << renderer << " OUTPUT_FOLDER\n";
        return std::nullopt;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    return out;
}

} // namespace qb::test
