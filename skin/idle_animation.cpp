#include "skin/idle_animation.h"

#include <utility>

#include "skin/blit.h"
#include "skin/idle_motion.h"
#include "skin/skin_set.h"

namespace zcd {

void IdleAnimation::Start(const std::string& skin_folder, const std::string& skin_name) {
  if (running_.load())
    return;
  if (thread_.joinable())
    thread_.join();
  running_.store(true);
  thread_ = std::thread([this, skin_folder, skin_name] { Run(skin_folder, skin_name); });
}

void IdleAnimation::Stop() {
  {
    std::lock_guard lock(mutex_);
    running_.store(false);
  }
  wake_.notify_all();
  if (thread_.joinable())
    thread_.join();
}

void IdleAnimation::Run(std::string skin_folder, std::string skin_name) {
  // Its own references: a skin switch while it runs cannot pull them away.
  const auto sprite = LoadSkinImage(skin_folder, skin_name, SkinFile::kZgraphic);
  const auto body = LoadSkinImage(skin_folder, skin_name, SkinFile::kBody);
  IdleMotion motion;
  Surface frame(kIdleArea.w, kIdleArea.h);
  std::unique_lock lock(mutex_);
  while (running_.load()) {
    lock.unlock();
    motion.Bounce(sprite->width, sprite->height);
    DrawIdleFrame(frame, *body, *sprite, motion);
    {
      std::lock_guard drawing(surface_.lock());
      CopySurface(surface_, kIdleArea, frame);
    }
    host_.Invalidate(kIdleArea);
    frames_.fetch_add(1);
    motion.Advance();
    lock.lock();
    wake_.wait_for(lock, kFrameInterval, [this] { return !running_.load(); });
  }
}

}  // namespace zcd
