#include "app/preference_fields.h"

namespace zcd {

void CopyPreferenceFields(const Settings& from, Settings& to) {
  for (int Settings::*field :
       {&Settings::OnStart, &Settings::OnExit, &Settings::DoneEject, &Settings::DoNextCD,
        &Settings::LoadPlay, &Settings::PlayOrder, &Settings::EjectEmpty, &Settings::EjectQuit,
        &Settings::StartWinState, &Settings::SliderType, &Settings::TrackClick,
        &Settings::NameScrolling, &Settings::EdgeResist, &Settings::IconType, &Settings::QTTimes,
        &Settings::IgnoreSec, &Settings::XData, &Settings::ShareCD, &Settings::DigitalPlayback}) {
    to.*field = from.*field;
  }
  // An emptied template reads back as the default at the next start; the
  // running player takes it the same way at once.
  to.TaskBarText = from.TaskBarText.empty() ? kDefaultTaskBarText : from.TaskBarText;
}

}  // namespace zcd
