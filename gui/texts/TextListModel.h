#pragma once
// The texts of one game language as a list model: row n is text number n,
// shown as its number and its text (line feeds and other control characters
// as visible marks). The model reads the working set's list in place, so a
// filter over it costs no copies of 2,843 texts.

#include <QAbstractListModel>

#include <string>
#include <vector>

namespace pitwall::gui {

class TextListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // The list shown, or nothing (an empty list).
    void setTexts(std::vector<std::string>* texts);
    std::vector<std::string>* texts() const { return texts_; }
    // Tells the views that text `number` changed.
    void textChanged(int number);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The text as one list line.
    static QString shownText(const std::string& text);

private:
    std::vector<std::string>* texts_ = nullptr;
};

} // namespace pitwall::gui
