#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace morlu::test {

/// Collects the warnings logged while it lives (qWarning), instead of printing them.
class LogCapture {
public:
    LogCapture()
    {
        s_current = this;
        m_previous = qInstallMessageHandler(&LogCapture::handle);
    }
    ~LogCapture()
    {
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList warnings;

private:
    static void handle(QtMsgType type, const QMessageLogContext&, const QString& text)
    {
        if (s_current != nullptr && type == QtWarningMsg)
            s_current->warnings.append(text);
    }

    static inline LogCapture* s_current = nullptr;
    QtMessageHandler m_previous = nullptr;
};

} // namespace morlu::test
