#include "TextListModel.h"

#include "QtMessages.h"

namespace pitwall::gui {

void TextListModel::setTexts(std::vector<std::string>* texts)
{
    beginResetModel();
    texts_ = texts;
    endResetModel();
}

void TextListModel::textChanged(int number)
{
    QModelIndex i = index(number);
    emit dataChanged(i, i);
}

int TextListModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !texts_)
        return 0;
    return static_cast<int>(texts_->size());
}

QString TextListModel::shownText(const std::string& text)
{
    QString shown = FromGameText(text);
    for (QChar& c : shown) {
        if (c == QChar('\n'))
            c = QChar(0x21B5); // ↵
        else if (c == QChar('\r'))
            c = QChar(0x240D); // ␍
        else if (c == QChar('\t'))
            c = QChar(0x2192); // →
        else if (c.unicode() < 32)
            c = QChar(0x2400 + c.unicode());
    }
    return shown;
}

QVariant TextListModel::data(const QModelIndex& index, int role) const
{
    if (!texts_ || !index.isValid() || index.row() >= rowCount())
        return {};
    const std::string& text = (*texts_)[static_cast<std::size_t>(index.row())];
    // Numbered from 1, as "Text number" counts them.
    if (role == Qt::DisplayRole)
        return QString::number(index.row() + 1) + QStringLiteral("  ") + shownText(text);
    if (role == Qt::UserRole)
        return index.row();
    return {};
}

} // namespace pitwall::gui
