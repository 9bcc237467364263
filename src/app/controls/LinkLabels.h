#pragma once
#include <QCursor>
#include <QLabel>

namespace versilla::app {

/// A label that opens a link built from its text on double click, with the
/// hand cursor while the mouse is over it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    /// The link the label opens: the prefix followed by the label's text.
    QString link() const { return m_prefix + text(); }
    /// Opens the link with the system's default program; false when that failed.
    bool openLink() const;

protected:
    LinkLabel(QWidget* parent, const QColor& colour, const QString& hint, QString prefix);
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QString m_prefix;
    QCursor m_previousCursor;
    bool m_hadCursor = false;
};

/// Purple underlined web address; double click opens "http://" + text.
class THttpLabel : public LinkLabel {
    Q_OBJECT
public:
    explicit THttpLabel(QWidget* parent = nullptr);
};

/// Blue underlined mail address; double click opens "MAILTO:" + text.
class TEmailLabel : public LinkLabel {
    Q_OBJECT
public:
    explicit TEmailLabel(QWidget* parent = nullptr);
};

} // namespace versilla::app
