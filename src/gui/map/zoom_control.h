#pragma once
// The zoom control of a map's status bar: "-", the zoom in percent (25 % to
// 800 %, any value typed, or "Ajuster à la fenêtre") and "+".
#include <QWidget>

class MapPicture;
class QComboBox;

class ZoomControl : public QWidget {
    Q_OBJECT
public:
    ZoomControl(MapPicture* picture, QWidget* parent = nullptr);

    // "Ajuster à la fenêtre", the last entry.
    static QString fitText();

private:
    void showZoom();
    void choose(const QString& text);

    MapPicture* m_picture;
    QComboBox* m_combo;
};
