// What the own balloon window tells the notification-area icon it belongs
// to, and the kinds of balloon picture.
#pragma once

// The balloon's picture; the values are the component's own numbering.
enum TSxTrayIconInfoFlags { niifError = 0, niifInfo = 1, niifNone = 2, niifWarning = 3 };

class IBalloonOwner {
public:
    virtual void BalloonShown() = 0;     // OnBalloonShow
    virtual void BalloonHidden() = 0;    // OnBalloonHide
    virtual void BalloonTimedOut() = 0;  // OnBalloonTimeout
    virtual void BalloonClicked() = 0;   // OnBalloonUserClick

protected:
    ~IBalloonOwner() = default;
};
