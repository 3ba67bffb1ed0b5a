// What the own balloon window tells the notification-area icon it belongs
// to, and the kinds of balloon picture.
#pragma once

#include "core/BalloonKinds.h"

class IBalloonOwner {
public:
    virtual void BalloonShown() = 0;     // OnBalloonShow
    virtual void BalloonHidden() = 0;    // OnBalloonHide
    virtual void BalloonTimedOut() = 0;  // OnBalloonTimeout
    virtual void BalloonClicked() = 0;   // OnBalloonUserClick

protected:
    ~IBalloonOwner() = default;
};
