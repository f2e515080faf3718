#include "DeferredStyleIcon.h"

#include <QApplication>
#include <QFile>
#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QProxyStyle>

#include <algorithm>
#include <map>

namespace pitwall::gui {

namespace {

QPixmap ReadStylePicture(const QString& path)
{
    // Named as PNG and never guessed: a reader left to guess the format
    // first loads every image-format plugin (and the SVG library) to ask
    // each whether it can read the file.
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

long long Area(const QSize& s) { return static_cast<long long>(s.width()) * s.height(); }

class DeferredStyleIconEngine : public QIconEngine {
public:
    explicit DeferredStyleIconEngine(std::vector<StyleIconFile> files) : files_(std::move(files)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        // As the style's own icon paints: its picture for the rectangle's
        // device pixels, drawn into the rectangle (which the icon has
        // already fitted to the picture's shape).
        const qreal scale = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, scaledPixmap(rect.size() * scale, mode, state, scale));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return iconFor(size).pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        if (!(scale > 1.0))
            return pixmap(size, mode, state);
        // `size` is in device pixels; the file's icon scales it back itself.
        return iconFor(size).pixmap(size / scale, scale, mode, state);
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override
    {
        QSize actual = best(size).size;
        if (actual.width() > size.width() || actual.height() > size.height())
            actual.scale(size, Qt::KeepAspectRatio);
        return actual;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const StyleIconFile& f : files_)
            sizes << f.size;
        return sizes;
    }

    QString key() const override { return QStringLiteral("PitwallDeferredStyleIcon"); }
    QIconEngine* clone() const override { return new DeferredStyleIconEngine(files_); }
    bool isNull() override { return files_.empty(); }

private:
    // As the style's icon chooses among its pictures: the smallest that
    // covers the size asked for, else the largest.
    const StyleIconFile& best(const QSize& size) const
    {
        const StyleIconFile* chosen = &files_.front();
        for (const StyleIconFile& f : files_) {
            long long want = Area(size), a = Area(f.size), b = Area(chosen->size);
            bool bothCover = std::min(a, b) >= want;
            if (bothCover ? a < b : a > b)
                chosen = &f;
        }
        return *chosen;
    }

    // An icon of the one file chosen, read the first time it is needed.
    QIcon& iconFor(const QSize& size)
    {
        const StyleIconFile& file = best(size);
        auto [it, added] = read_.try_emplace(file.path);
        if (added)
            it->second.addPixmap(ReadStylePicture(file.path));
        return it->second;
    }

    std::vector<StyleIconFile> files_;
    std::map<QString, QIcon> read_;
};

} // namespace

bool StyleDrawsFromItsFiles(const QStyle* style)
{
    if (const auto* proxy = qobject_cast<const QProxyStyle*>(style))
        style = proxy->baseStyle();
    return style && QIcon::themeName().isEmpty() && style->name().compare("fusion", Qt::CaseInsensitive) == 0;
}

std::vector<StyleIconFile> StyleIconFiles(const char* name, std::initializer_list<int> sizes)
{
    std::vector<StyleIconFile> files;
    for (int size : sizes)
        files.push_back(
            {QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png").arg(QLatin1String(name)).arg(size),
             QSize(size, size)});
    return files;
}

QIcon DeferredFileIcon(std::vector<StyleIconFile> files)
{
    if (files.empty())
        return {};
    for (const StyleIconFile& f : files)
        if (!QFile::exists(f.path))
            return {};
    return QIcon(new DeferredStyleIconEngine(std::move(files)));
}

QIcon DeferredStyleIcon(QStyle::StandardPixmap standard, std::vector<StyleIconFile> files)
{
    QStyle* style = QApplication::style();
    if (StyleDrawsFromItsFiles(style))
        if (QIcon icon = DeferredFileIcon(std::move(files)); !icon.isNull())
            return icon;
    return style ? style->standardIcon(standard) : QIcon();
}

} // namespace pitwall::gui
