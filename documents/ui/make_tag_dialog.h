#pragma once

#include <QDialog>
#include <functional>
#include <optional>

#include "documents/typed_tag.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace tessara::documents {

// "Make tag": the name, type and byte order of a typed tag over the bytes the user chose. It is shown without
// blocking the editor's event loop; OK first asks the editor whether the tag can be made, and on a refusal the
// dialog stays open with what was typed, so the user can mend the name or the type.
class MakeTagDialog : public QDialog {
    Q_OBJECT

public:
    // Why the tag cannot be made, or nullopt when it can.
    using Problem = std::function<std::optional<QString>(const TypedTag&)>;
    using Made = std::function<void(const TypedTag&)>;

    explicit MakeTagDialog(QWidget* parent = nullptr);

    // Offers `proposal` (its node, direction and first byte stay; the rest is the user's) over `place`, a text
    // naming the chosen bytes; OK gives the tag to `made` once `problem` finds nothing against it.
    void Ask(const TypedTag& proposal, const QString& place, Problem problem, Made made);
    void accept() override;

private:
    TypedTag Chosen() const;

    TypedTag proposal_;
    Problem problem_;
    Made made_;
    QLabel* place_ = nullptr;
    QLineEdit* name_ = nullptr;
    QComboBox* type_ = nullptr;
    QComboBox* order_ = nullptr;
};

}  // namespace tessara::documents
