#pragma once

#include "pointing/pointing.h"

#include <QWidget>

#include <optional>

class QLabel;
class QLineEdit;
class SkyDrawing;

// The pointing panel's elements by objectName, for automation and tests.
namespace ws::pointingpanel::names {
inline constexpr char window[] = "pointingPanel";
inline constexpr char latitude[] = "pointingLatitude";
inline constexpr char longitude[] = "pointingLongitude";
inline constexpr char satellite[] = "pointingSatellite";
inline constexpr char azimuth[] = "pointingAzimuth";
inline constexpr char elevation[] = "pointingElevation";
inline constexpr char skew[] = "pointingSkew";
inline constexpr char distance[] = "pointingDistance";
inline constexpr char status[] = "pointingStatus";
inline constexpr char sky[] = "pointingSky";
} // namespace ws::pointingpanel::names

// "Wavesift pointing", beside the main window: the site and the satellite,
// typed as --point takes them, and the dish's azimuth, elevation, skew and
// distance with a drawing of the sky, following every key; a refused angle
// or a satellite below the horizon is said in words under them.
class PointingPanel : public QWidget
{
    Q_OBJECT

public:
    explicit PointingPanel(QWidget *parent = nullptr);
    // The panel of `owner`, made the first time, then the same one.
    static PointingPanel &of(QWidget *owner);
    static PointingPanel &showFor(QWidget *owner);

    // Fills the site's boxes, as if typed there.
    void setSite(const ws::pointing::Site &site);

private:
    void showFigures();

    QLineEdit *latitude_ = nullptr;
    QLineEdit *longitude_ = nullptr;
    QLineEdit *satellite_ = nullptr;
    QLabel *azimuth_ = nullptr;
    QLabel *elevation_ = nullptr;
    QLabel *skew_ = nullptr;
    QLabel *distance_ = nullptr;
    QLabel *status_ = nullptr;
    SkyDrawing *sky_ = nullptr;
};
