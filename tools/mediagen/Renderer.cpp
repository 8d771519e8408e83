#include "Renderer.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>

namespace mediagen {
namespace {

namespace colour {
const QColor background(0xF6, 0xF8, 0xFA);
const QColor floor(0xEA, 0xEE, 0xF2);
const QColor shadow(0xDD, 0xE3, 0xE9);
const QColor shirt(0x4F, 0x9E, 0x9A);
const QColor trousers(0x52, 0x64, 0x7C);
const QColor skin(0xE6, 0xB9, 0x96);
const QColor palm(0xF7, 0xDE, 0xCB);
const QColor backOfHand(0xD9, 0xA8, 0x84);
const QColor hair(0x5A, 0x46, 0x36);
const QColor shoe(0x3E, 0x4A, 0x58);
const QColor eye(0x3A, 0x33, 0x2E);
const QColor seat(0xA9, 0xB3, 0xBE);
const QColor chairFrame(0x85, 0x91, 0x9E);
const QColor track(0xE1, 0xE6, 0xEB);
const QColor progress(0xB4, 0xC3, 0xD1);
const QColor dot(0x6F, 0xA8, 0xA6);
} // namespace colour

double rad(double deg) { return deg * std::numbers::pi / 180.0; }

QColor outlineOf(const QColor &c) { return c.darker(135); }

// Something to paint, ordered back to front by depth.
struct Item {
    double depth;
    std::function<void(QPainter &)> paint;
};

class Scene {
public:
    Scene(const Framing &f, const Body &b) : f_(f), b_(b) {}

    void chair();
    void figure();
    void paint(QPainter &p);

private:
    QPointF pt(const Vec3 &v) const { return f_.project(v); }
    double px(double metres) const { return metres * f_.scale; }
    void capsule(const Vec3 &a, const Vec3 &b, double width, const QColor &c, double bias);
    void hand(Side s, double bias);
    void head();
    void torso();
    QColor shade(const QColor &c, double depth) const;

    const Framing &f_;
    const Body &b_;
    std::vector<Item> items_;
};

QColor Scene::shade(const QColor &c, double depth) const {
    // Limbs on the far side of the body sit a little darker so left and right stay apart.
    const double centre = f_.depth(lerp(b_.pelvis, b_.neck, 0.5));
    return depth < centre - 0.04 ? c.darker(114) : c;
}

void Scene::capsule(const Vec3 &a, const Vec3 &b, double width, const QColor &c, double bias) {
    const double d = (f_.depth(a) + f_.depth(b)) / 2;
    const QColor fill = shade(c, d);
    const QPointF pa = pt(a), pb = pt(b);
    const double w = std::max(1.5, px(width));
    items_.push_back(
        {d + bias, [pa, pb, w, fill](QPainter &p) {
             p.setPen(QPen(outlineOf(fill), w + 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawLine(pa, pb);
             p.setPen(QPen(fill, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawLine(pa, pb);
         }});
}

void Scene::chair() {
    // A plain office chair: seat, backrest on a post, gas lift and a five-spoke base.
    const double seatTop = bone::seatHeight;
    const double front = 0.30, rear = -0.14, half = 0.23;
    const auto seatAt = [&](double x, double z, double y) { return pt({x, y, z}); };
    QPolygonF top{seatAt(-half, rear, seatTop), seatAt(half, rear, seatTop),
                  seatAt(half, front, seatTop), seatAt(-half, front, seatTop)};
    QPolygonF under{seatAt(-half, rear, seatTop - 0.06), seatAt(half, rear, seatTop - 0.06),
                    seatAt(half, front, seatTop - 0.06), seatAt(-half, front, seatTop - 0.06)};
    const QPointF backLow = pt({0, seatTop + 0.02, rear - 0.02});
    const QPointF backMid = pt({0, seatTop + 0.2, rear - 0.04});
    QPolygonF back{pt({-0.2, seatTop + 0.2, rear - 0.05}), pt({0.2, seatTop + 0.2, rear - 0.05}),
                   pt({0.19, seatTop + 0.52, rear - 0.08}),
                   pt({-0.19, seatTop + 0.52, rear - 0.08})};
    const QPointF postTop = pt({0, seatTop - 0.06, 0.08});
    const QPointF postLow = pt({0, 0.1, 0.08});
    std::vector<std::pair<QPointF, QPointF>> spokes;
    for (int i = 0; i < 5; ++i) {
        const double a = rad(90 + 72.0 * i);
        spokes.push_back({postLow, pt({0.3 * std::cos(a), 0.06, 0.08 + 0.3 * std::sin(a)})});
    }
    const double thin = std::max(1.5, px(0.035));
    const double post = std::max(2.0, px(0.05));
    const double rim = std::max(2.0, px(0.05));
    const QColor seatCol = colour::seat, frameCol = colour::chairFrame;
    items_.push_back({-1e3, [=](QPainter &p) {
                          p.setPen(QPen(frameCol, thin, Qt::SolidLine, Qt::RoundCap));
                          for (const auto &[a, b] : spokes)
                              p.drawLine(a, b);
                          p.setPen(QPen(frameCol, post, Qt::SolidLine, Qt::RoundCap));
                          p.drawLine(postTop, postLow);
                          p.drawLine(backLow, backMid);
                          p.setPen(QPen(outlineOf(seatCol), rim + 1.5, Qt::SolidLine, Qt::RoundCap,
                                        Qt::RoundJoin));
                          p.setBrush(outlineOf(seatCol));
                          p.drawPolygon(back);
                          p.drawPolygon(under);
                          p.drawPolygon(top);
                          p.setPen(QPen(seatCol, rim, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                          p.setBrush(seatCol);
                          p.drawPolygon(back);
                          p.drawPolygon(under);
                          p.drawPolygon(top);
                      }});
}

void Scene::torso() {
    const Mat3 &c = b_.chest;
    const Vec3 waistL = b_.spineMid + c * Vec3{0.14, -0.02, 0};
    const Vec3 waistR = b_.spineMid + c * Vec3{-0.14, -0.02, 0};
    QPolygonF shirt{pt(b_.shoulder[Left] + c * Vec3{-0.02, 0.01, 0}),
                    pt(b_.shoulder[Right] + c * Vec3{0.02, 0.01, 0}),
                    pt(waistR),
                    pt(b_.pelvis + Vec3{-0.13, 0.03, 0}),
                    pt(b_.pelvis + Vec3{0.13, 0.03, 0}),
                    pt(waistL)};
    const double thick = px(0.17);
    const double d = f_.depth(lerp(b_.pelvis, b_.neck, 0.5));
    const QColor fill = colour::shirt;
    items_.push_back({d, [shirt, thick, fill](QPainter &p) {
                          p.setPen(QPen(outlineOf(fill), thick + 1.6, Qt::SolidLine, Qt::RoundCap,
                                        Qt::RoundJoin));
                          p.setBrush(fill);
                          p.drawPolygon(shirt);
                          p.setPen(QPen(fill, thick, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
                          p.drawPolygon(shirt);
                      }});
}

void Scene::head() {
    const Vec3 toViewer = f_.towardsViewer();
    const QPointF centre = pt(b_.headCentre);
    const double r = px(bone::headRadius);
    // Hair covers the back and top: a disc of the head's size pushed towards the back of the
    // head, further when the face is turned to the viewer so only the top stays dark.
    const Vec3 toBack = b_.head * Vec3{0, 0.6, -0.8};
    const QPointF shift = pt(b_.headCentre + toBack) - centre;
    const double shiftLen = std::hypot(shift.x(), shift.y());
    const double cover = r * std::min(1.9, 0.8 + 0.45 * (1 - dot(b_.face(), toViewer)));
    const QPointF hairCentre =
        shiftLen > 1e-6 ? centre + shift * ((2 * r - cover) / shiftLen) : centre;
    const double d = f_.depth(b_.headCentre) + 0.02;

    std::vector<QPointF> eyes;
    for (double x : {-0.036, 0.036}) {
        const Vec3 e = b_.headCentre + b_.head * Vec3{x, 0.012, 0.095};
        if (dot(normalized(e - b_.headCentre), toViewer) > 0.2)
            eyes.push_back(pt(e));
    }
    std::vector<QPointF> ears;
    for (double x : {-0.1, 0.1}) {
        const Vec3 e = b_.headCentre + b_.head * Vec3{x, -0.005, -0.005};
        if (dot(normalized(e - b_.headCentre), toViewer) > 0.35)
            ears.push_back(pt(e));
    }
    const double facing = dot(b_.face(), toViewer);
    const QPointF noseRoot = pt(b_.headCentre + b_.head * Vec3{0, -0.005, 0.1});
    const QPointF noseTip = pt(b_.headCentre + b_.head * Vec3{0, -0.025, 0.122});
    const QPointF mouth = pt(b_.headCentre + b_.head * Vec3{0, -0.055, 0.092});
    const QPointF neckTop = pt(b_.headCentre + b_.head * Vec3{0, -0.06, -0.01});
    const double eyeR = std::max(0.9, px(0.011));
    const double neckW = px(0.075);
    const QPointF neckBase = pt(b_.neck);

    items_.push_back({d, [=](QPainter &p) {
                          const QColor sk = colour::skin;
                          p.setPen(QPen(outlineOf(sk), neckW + 1.6, Qt::SolidLine, Qt::RoundCap));
                          p.drawLine(neckTop, neckBase);
                          p.setPen(QPen(sk, neckW, Qt::SolidLine, Qt::RoundCap));
                          p.drawLine(neckTop, neckBase);
                          QPainterPath headPath;
                          headPath.addEllipse(centre, r, r);
                          p.setPen(QPen(outlineOf(sk), 1.0));
                          p.setBrush(sk);
                          p.drawPath(headPath);
                          if (facing > -0.2) {
                              p.setPen(QPen(outlineOf(sk), std::max(1.2, r * 0.16), Qt::SolidLine,
                                            Qt::RoundCap));
                              p.drawLine(noseRoot, noseTip);
                          }
                          p.setPen(Qt::NoPen);
                          p.setBrush(sk.darker(112));
                          for (const QPointF &e : ears)
                              p.drawEllipse(e, r * 0.16, r * 0.24);
                          QPainterPath cap;
                          cap.addEllipse(hairCentre, r, r);
                          QPainterPath bigger;
                          bigger.addEllipse(centre, r + 0.6, r + 0.6);
                          p.setBrush(colour::hair);
                          p.drawPath(cap.intersected(bigger));
                          p.setBrush(colour::eye);
                          for (const QPointF &e : eyes)
                              p.drawEllipse(e, eyeR, eyeR);
                          if (facing > 0.45) {
                              p.setPen(QPen(sk.darker(150), std::max(0.8, r * 0.1), Qt::SolidLine,
                                            Qt::RoundCap));
                              const QPointF w(r * 0.22 * facing, 0);
                              p.drawLine(mouth - w, mouth + w);
                          }
                      }});
}

void Scene::hand(Side s, double bias) {
    const Hand &h = b_.hand[s];
    constexpr double grow = bone::handDraw;
    const Vec3 F = h.fingers, N = h.palm, T = h.thumb;
    const double palmLen = bone::palm * grow;
    const Vec3 knuckle = h.wrist + F * palmLen;
    const QPolygonF palmShape{pt(h.wrist + T * 0.028 * grow), pt(knuckle + T * 0.04 * grow),
                              pt(knuckle - T * 0.04 * grow), pt(h.wrist - T * 0.028 * grow)};
    const bool palmShows = dot(N, f_.towardsViewer()) > 0;
    const double d = f_.depth(h.wrist + F * 0.05) + bias;

    std::vector<QPolygonF> fingers;
    const double offsets[4] = {0.03, 0.01, -0.01, -0.03};
    for (int i = 0; i < 4; ++i) {
        const double curl = i == 0 ? h.shape.curl * (1 - h.shape.point) : h.shape.curl;
        const double fan = h.shape.spread * 0.35 * (offsets[i] / 0.03);
        const Vec3 dir = normalized(F + T * fan);
        const double a = rad(curl * 85);
        const Vec3 root = knuckle + T * offsets[i] * grow;
        const Vec3 mid = root + (dir * std::cos(a) - N * std::sin(a)) * (0.045 * grow);
        const Vec3 tip =
            mid + (dir * std::cos(2 * a) - N * std::sin(2 * a)) * ((i == 3 ? 0.032 : 0.04) * grow);
        fingers.push_back(QPolygonF{pt(root), pt(mid), pt(tip)});
    }
    const double ta = rad(h.shape.curl * 50);
    const Vec3 thumbRoot = h.wrist + T * 0.03 * grow + F * 0.02 * grow;
    const Vec3 thumbDir = normalized(T * (0.75 + 0.3 * h.shape.spread) + F * 0.65);
    const Vec3 thumbTip = thumbRoot + (thumbDir * std::cos(ta) - N * std::sin(ta)) * (0.065 * grow);
    const QPolygonF thumb{pt(thumbRoot), pt(thumbTip)};

    // Palm and back of the hand differ in tone so a turning hand can be followed.
    const QColor fill = shade(palmShows ? colour::palm : colour::backOfHand, d);
    const double fw = std::max(1.3, px(0.02 * grow));
    const double pw = std::max(1.5, px(0.025));
    items_.push_back(
        {d, [=](QPainter &p) {
             const QColor line = outlineOf(fill);
             p.setPen(QPen(line, fw + 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             for (const QPolygonF &f : fingers)
                 p.drawPolyline(f);
             p.drawPolyline(thumb);
             p.setPen(QPen(line, pw + 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(line);
             p.drawPolygon(palmShape);
             p.setPen(QPen(fill, fw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             for (const QPolygonF &f : fingers)
                 p.drawPolyline(f);
             p.drawPolyline(thumb);
             p.setPen(QPen(fill, pw, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.setBrush(fill);
             p.drawPolygon(palmShape);
         }});
}

void Scene::figure() {
    torso();
    head();
    const double armBias = b_.seated ? 0.05 : 0.0; // seated arms rest on top of the lap
    for (Side s : {Left, Right}) {
        capsule(b_.hip[s], b_.knee[s], 0.13, colour::trousers, 0);
        capsule(b_.knee[s], b_.ankle[s], 0.105, colour::trousers, 0);
        capsule(b_.ankle[s] + Vec3{0, -0.03, -0.03}, b_.toe[s], 0.075, colour::shoe, 0);
        capsule(b_.shoulder[s], b_.elbow[s], 0.085, colour::shirt, armBias);
        capsule(b_.elbow[s], b_.wrist[s], 0.07, colour::skin, armBias + 0.001);
        hand(s, armBias + 0.002);
    }
}

void Scene::paint(QPainter &p) {
    std::stable_sort(items_.begin(), items_.end(),
                     [](const Item &a, const Item &b) { return a.depth < b.depth; });
    for (const Item &i : items_)
        i.paint(p);
}

} // namespace

QPointF Framing::project(const Vec3 &p) const {
    const double a = rad(camera.yaw), e = rad(camera.pitch);
    const double x = p.x * std::cos(a) + p.z * std::sin(a);
    const double z = -p.x * std::sin(a) + p.z * std::cos(a);
    const double y = p.y * std::cos(e) - z * std::sin(e);
    return {origin.x() + x * scale, origin.y() - y * scale};
}

double Framing::depth(const Vec3 &p) const { return dot(p, towardsViewer()); }

Vec3 Framing::towardsViewer() const {
    const double a = rad(camera.yaw), e = rad(camera.pitch);
    return {-std::sin(a) * std::cos(e), std::sin(e), std::cos(a) * std::cos(e)};
}

int frameCount(const Clip &clip) { return static_cast<int>(std::lround(clip.duration() * kFps)); }

Framing frameClip(const Clip &clip, int width, int height) {
    // Fit the whole movement, chair and floor included, with a calm margin; the clip keeps
    // this framing throughout.
    Framing f;
    f.camera = clip.camera;
    f.scale = 1.0;
    double minX = 1e9, maxX = -1e9, minY = 1e9, maxY = -1e9;
    const auto take = [&](const Vec3 &v, double pad) {
        if (v.y < clip.cropBelow)
            return;
        const QPointF q = f.project(v);
        minX = std::min(minX, q.x() - pad);
        maxX = std::max(maxX, q.x() + pad);
        minY = std::min(minY, q.y() - pad);
        maxY = std::max(maxY, q.y() + pad);
    };
    for (double t = 0; t <= clip.duration(); t += 0.2) {
        const Body b = solve(clip, t);
        take(b.headCentre, bone::headRadius + 0.02);
        for (Side s : {Left, Right}) {
            for (const Vec3 &v : {b.shoulder[s], b.elbow[s], b.wrist[s], b.knee[s], b.toe[s]})
                take(v, 0.07);
            take(b.hand[s].wrist + b.hand[s].fingers * 0.2, 0.03);
        }
    }
    if (clip.chair) {
        for (double x : {-0.3, 0.3})
            for (double z : {-0.25, 0.4})
                take({x, bone::seatHeight + 0.5, z}, 0.02);
    }
    for (double x : {-0.35, 0.35})
        for (double z : {-0.25, 0.6})
            take({x, 0, z}, 0.02);
    const double margin = 10, bar = 8;
    f.scale =
        std::min((width - 2 * margin) / (maxX - minX), (height - 2 * margin - bar) / (maxY - minY));
    f.scale = std::min(f.scale, 170.0);
    const double cx = (minX + maxX) / 2 * f.scale, cy = (minY + maxY) / 2 * f.scale;
    f.origin = QPointF(width / 2.0 - cx, (height - bar) / 2.0 - cy);
    return f;
}

void renderFrame(QImage &image, const Clip &clip, const Framing &framing, int frame) {
    const double t = static_cast<double>(frame) / kFps;
    const Body body = solve(clip, t);
    image.fill(colour::background);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // Floor: a soft band with a shadow under the figure.
    const double w = image.width(), h = image.height();
    const double horizon = framing.project({0, 0, -0.6}).y();
    p.fillRect(QRectF(0, horizon, w, h - horizon), colour::floor);
    const QPointF foot = framing.project({0, 0, 0.15});
    const double spread = 0.42 * framing.scale;
    const double flat = std::max(2.0, spread * std::sin(rad(framing.camera.pitch)) * 1.6);
    p.setPen(Qt::NoPen);
    p.setBrush(colour::shadow);
    p.drawEllipse(foot, spread, flat);

    Scene scene(framing, body);
    if (clip.chair)
        scene.chair();
    scene.figure();
    scene.paint(p);

    // Progress along the bottom edge, and dots that fill while a pose is held.
    const double barY = h - 5;
    p.setPen(QPen(colour::track, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, barY), QPointF(w - 12, barY));
    const double done = std::clamp(t / clip.duration(), 0.0, 1.0);
    p.setPen(QPen(colour::progress, 2.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(12, barY), QPointF(12 + (w - 24) * done, barY));
    for (const Hold &hold : clip.holds) {
        if (t < hold.start || t >= hold.end)
            continue;
        const double step = (hold.end - hold.start) / hold.count;
        const int lit = std::min(hold.count, static_cast<int>((t - hold.start) / step) + 1);
        for (int i = 0; i < hold.count; ++i) {
            const QPointF c(w - 12 - (hold.count - 1 - i) * 9.0, 11);
            p.setPen(QPen(colour::dot, 1.2));
            p.setBrush(i < lit ? colour::dot : Qt::transparent);
            p.drawEllipse(c, 3.0, 3.0);
        }
    }
}

} // namespace mediagen
