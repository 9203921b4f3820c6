#pragma once
#include "app/app_context_ui.h"

#include <QWidget>
#include <array>

class QLabel;
class QLineEdit;

// "Fiche individuelle" in creation: a new card pinned at a map point.
class FFrance11 : public QWidget {
    Q_OBJECT
public:
    explicit FFrance11(AppContext& ctx, QWidget* parent = nullptr);

    std::array<QLineEdit*, 20> Text1{};  // fields 1 to 20; Text1(0) hidden
    QLabel* Label2 = nullptr;            // number of the new card
    QLabel* Label4 = nullptr;            // swatch

    void setSwatchColor(const QColor& color);

private:
    AppContext& m_ctx;
};
