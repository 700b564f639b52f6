#include "platform/qt/QtStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <optional>

namespace sudoku::qt {
namespace {

// The overflow button's icon, asked of the style the first time it is drawn or measured.
class LazyIconEngine final : public QIconEngine {
public:
    LazyIconEngine(QStyle* style, const QStyleOption* option, const QWidget* widget) : style_(style), widget_(widget) {
        if (option) option_ = *option;
    }

    void paint(QPainter* p, const QRect& r, QIcon::Mode m, QIcon::State s) override {
        Icon().paint(p, r, Qt::AlignCenter, m, s);
    }
    QSize actualSize(const QSize& size, QIcon::Mode m, QIcon::State s) override { return Icon().actualSize(size, m, s); }
    QPixmap pixmap(const QSize& size, QIcon::Mode m, QIcon::State s) override { return Icon().pixmap(size, m, s); }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode m, QIcon::State s, qreal scale) override {
        return Icon().pixmap(size, scale, m, s);
    }
    void addPixmap(const QPixmap& pixmap, QIcon::Mode m, QIcon::State s) override { Icon().addPixmap(pixmap, m, s); }
    void addFile(const QString& file, const QSize& size, QIcon::Mode m, QIcon::State s) override {
        Icon().addFile(file, size, m, s);
    }
    QList<QSize> availableSizes(QIcon::Mode m, QIcon::State s) override { return Icon().availableSizes(m, s); }
    QString iconName() override { return Icon().name(); }
    // Asked when the button is laid out; the toolkit's styles all draw this icon.
    bool isNull() override { return made_ ? icon_.isNull() : false; }
    QIconEngine* clone() const override { return new LazyIconEngine(*this); }

private:
    QIcon& Icon() {
        if (!made_) {
            made_ = true;
            if (style_) icon_ = style_->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton, option_ ? &*option_ : nullptr, widget_);
        }
        return icon_;
    }

    QPointer<QStyle> style_;
    QPointer<const QWidget> widget_;
    std::optional<QStyleOption> option_;
    QIcon icon_;
    bool made_ = false;
};

class LazyIconStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option, const QWidget* widget) const override {
        if (which != SP_ToolBarHorizontalExtensionButton) return QProxyStyle::standardIcon(which, option, widget);
        return QIcon(new LazyIconEngine(baseStyle(), option, widget));
    }
};

}  // namespace

void UseStyleWithLazyIcons() {
    // The same style the toolkit chose (from the desktop, -style or QT_STYLE_OVERRIDE), behind the proxy.
    const QStyle* chosen = QApplication::style();
    QStyle* same = chosen ? QStyleFactory::create(chosen->name()) : nullptr;
    if (same) QApplication::setStyle(new LazyIconStyle(same));
}

}  // namespace sudoku::qt
