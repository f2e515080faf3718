#pragma once
// The application's style, with the icons of the menu bar's and the tool
// bar's extension buttons read only when painted. Both bars ask the style for
// that icon as they are made; the built-in style's icon reads its files at
// once, through an image reader that loads every image-format plugin to guess
// their format. The button shows only when a bar does not fit, so the start
// need not pay for it.

#include <QProxyStyle>

class QApplication;

namespace pitwall::gui {

class DeferredIconStyle : public QProxyStyle {
public:
    // Wraps a new instance of the style named `key`.
    explicit DeferredIconStyle(const QString& key);

    QIcon standardIcon(StandardPixmap standard, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

// Makes the application's style a DeferredIconStyle over the same style,
// where that style draws its icons from the files it is known to read (the
// built-in Fusion style without an icon theme); otherwise leaves it alone.
void UseDeferredIconStyle(QApplication& application);

} // namespace pitwall::gui
