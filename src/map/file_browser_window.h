#pragma once
#include "app/app_context_ui.h"

#include <QWidget>

// "Rechercher": copies a chosen file into the database under a card's name.
class Ffrance23 : public QWidget {
    Q_OBJECT
public:
    explicit Ffrance23(AppContext& ctx, QWidget* parent = nullptr);

    // What the caller sets before showing it: the file pattern ("*.jpg"),
    // whether the text preview replaces the picture, and the target base name
    // (prefix and card number, e.g. "photo12").
    void prepare(const QString& pattern, bool textPreview, const QString& targetBase);

private:
    AppContext& m_ctx;
};
