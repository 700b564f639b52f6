#include "scene/Scene.h"

#include "app/Palette.h"

namespace sudoku::scene {

// --- A label ----------------------------------------------------------------------------

SceneLabel::SceneLabel(Scene& scene, const form::LabelDesign& d, std::function<void()> onClick,
                       std::function<void()> onDoubleClick)
    : caption_(d.caption),
      back_(d.background),
      left_(d.left),
      top_(d.top),
      width_(d.width),
      height_(d.height),
      fontPt_(d.fontPt),
      scene_(scene),
      transparent_(d.transparent),
      centred_(d.centred),
      border_(d.border),
      index_(d.index),
      onClick_(std::move(onClick)),
      onDoubleClick_(std::move(onDoubleClick)) {}

DeviceRect SceneLabel::Bounds() const { return ToDevice(left_, top_, width_, height_, scene_.scale_); }

void SceneLabel::Repaint() const {
    if (visible_) scene_.Invalidate(Bounds());
}

void SceneLabel::SetCaption(const std::string& text) {
    if (text == caption_) return;
    caption_ = text;
    Repaint();
}

void SceneLabel::SetBackColor(Rgb color) {
    if (color == back_) return;
    back_ = color;
    if (!transparent_) Repaint();  // a transparent label keeps its stored colour unseen
}

void SceneLabel::SetFontSize(float pt) {
    if (pt == fontPt_) return;
    fontPt_ = pt;
    if (!caption_.empty()) Repaint();
}

void SceneLabel::SetVisible(bool v) {
    if (v == visible_) return;
    visible_ = v;
    scene_.Invalidate(Bounds());  // shown or uncovered, its place changes either way
}

void SceneLabel::Move(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    Repaint();  // where it was
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    Repaint();
}

void SceneLabel::Paint(Canvas& canvas) const {
    const DeviceRect r = Bounds();
    if (!transparent_) canvas.Fill(r, back_);
    if (border_) {
        const int w = scene_.scale_.FrameWidth();
        canvas.Fill({r.left, r.top, r.right, r.top + w}, palette::kText);
        canvas.Fill({r.left, r.bottom - w, r.right, r.bottom}, palette::kText);
        canvas.Fill({r.left, r.top, r.left + w, r.bottom}, palette::kText);
        canvas.Fill({r.right - w, r.top, r.right, r.bottom}, palette::kText);
    }
    if (!caption_.empty()) canvas.Text(r, caption_, scene_.scale_.TextPixels(fontPt_), centred_);
}

// --- The scene --------------------------------------------------------------------------

void Scene::SetWindowColour(Rgb colour) {
    if (colour == windowColour_) return;
    windowColour_ = colour;
    Invalidate(ShownBounds());
}

DeviceRect Scene::ShownBounds() const {
    DeviceRect all;
    for (const auto& label : labels_)
        if (label->visible_) all = all.United(label->Bounds());
    return all;
}

void Scene::SetScale(Scale s) {
    if (s == scale_) return;
    const DeviceRect before = ShownBounds();
    scale_ = s;
    Invalidate(before.United(ShownBounds()));
}

void Scene::Paint(Canvas& canvas, const DeviceRect& area) const {
    if (area.Empty()) return;
    canvas.Clip(area);
    canvas.Fill(area, windowColour_);
    for (auto it = labels_.rbegin(); it != labels_.rend(); ++it) {
        const SceneLabel& label = **it;
        if (label.visible_ && label.Bounds().Intersects(area)) label.Paint(canvas);
    }
}

SceneLabel* Scene::LabelAt(int x, int y) const {
    for (const auto& label : labels_)
        if (label->visible_ && label->Clickable() && label->Bounds().Contains(x, y)) return label.get();
    return nullptr;
}

DeviceRect Scene::OwnBounds(const SceneLabel& label) const {
    DeviceRect own = label.Bounds();
    for (const auto& above : labels_) {
        if (above.get() == &label) break;  // the rest lie below it
        if (!above->visible_) continue;
        const DeviceRect a = above->Bounds();
        if (!a.Intersects(own)) continue;
        const bool fullHeight = a.top <= own.top && a.bottom >= own.bottom;
        const bool fullWidth = a.left <= own.left && a.right >= own.right;
        if (fullHeight && a.left > own.left) own.right = std::min(own.right, a.left);
        else if (fullHeight && a.right < own.right) own.left = std::max(own.left, a.right);
        else if (fullWidth && a.top > own.top) own.bottom = std::min(own.bottom, a.top);
        else if (fullWidth && a.bottom < own.bottom) own.top = std::max(own.top, a.bottom);
    }
    return own;
}

bool Scene::Press(int x, int y, bool doubleClick) {
    SceneLabel* label = LabelAt(x, y);
    const bool isDouble = doubleClick && label && label == lastClicked_;
    lastClicked_ = nullptr;
    pressed_ = label;
    pressIsDouble_ = isDouble;
    if (isDouble && label->onDoubleClick_) label->onDoubleClick_();
    return label != nullptr;
}

void Scene::Release(int x, int y) {
    SceneLabel* label = pressed_;
    const bool wasDouble = pressIsDouble_;
    pressed_ = nullptr;
    if (!label || wasDouble || !label->visible_ || !label->Bounds().Contains(x, y)) return;
    lastClicked_ = label;
    label->onClick_();
}

}  // namespace sudoku::scene
