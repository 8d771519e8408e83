// The keyframe tables, solved through the skeleton: every clip is playable and seamless, the
// figure stays in the picture, and the key moments show what the instructions say.

#include "Catalogue.h"
#include "Exercises.h"
#include "Renderer.h"
#include "Skeleton.h"

#include <QTest>

#include <functional>

using namespace mediagen;

namespace {

QString fileOf(std::string_view video) {
    const std::string_view name = videoFile(video);
    return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

Vec3 fingertip(const Body &b, Side s) {
    return b.hand[s].wrist + b.hand[s].fingers * bone::handReach;
}

Vec3 palmCentre(const Body &b, Side s) {
    return b.hand[s].wrist + b.hand[s].fingers * (bone::palm * bone::handDraw * 0.6);
}

// Something measurable at one moment of one clip, which must come out below `limit`.
struct Moment {
    const char *name;
    const char *file;
    double time;
    std::function<double(const Body &)> measure;
    double limit;
};

const std::vector<Moment> &moments() {
    const Vec3 front{0, 0, 1};
    static const std::vector<Moment> all{
        {"finger stretch: fingertips meet at chin level", "Stretch05.mpg", 2.5,
         [](const Body &b) { return length(fingertip(b, Left) - fingertip(b, Right)); }, 0.03},
        {"finger stretch: hands lowered to the chest", "Stretch05.mpg", 6.3,
         [](const Body &b) { return fingertip(b, Left).y - (b.neck.y - 0.05); }, 0.0},
        {"finger stretch: fingers turned towards the body", "Stretch05.mpg", 10.0,
         [](const Body &b) { return b.hand[Left].fingers.z + b.hand[Right].fingers.z; }, -1.0},
        {"palm press: palms together", "Stretch06.mpg", 7.0,
         [](const Body &b) { return length(palmCentre(b, Left) - palmCentre(b, Right)); }, 0.06},
        {"palm press: at chest level", "Stretch06.mpg", 7.0,
         [](const Body &b) { return palmCentre(b, Left).y - b.neck.y; }, -0.1},
        {"wingspread: hands behind the head", "Stretch07.mpg", 7.0,
         [](const Body &b) { return b.wrist[Left].z + b.wrist[Right].z - 2 * b.headCentre.z; },
         -0.1},
        {"wingspread: elbows drawn back", "Stretch07.mpg", 7.0,
         [](const Body &b) { return b.elbow[Left].z + b.elbow[Right].z; }, 0.0},
        {"hands over eyes: palms on the eyes", "Stretch12.mpg", 6.0,
         [](const Body &b) {
             const Vec3 eyes = b.headCentre + b.face() * 0.1;
             return length(palmCentre(b, Left) - eyes) + length(palmCentre(b, Right) - eyes);
         },
         0.16},
        {"hands overhead: hands above the head", "Stretch14.mpg", 5.0,
         [](const Body &b) { return b.headCentre.y + 0.15 - b.wrist[Right].y; }, 0.0},
        {"hands overhead: leaning to the right", "Stretch14.mpg", 9.0,
         [](const Body &b) { return b.neck.x; }, -0.08},
        {"hands overhead: then to the left", "Stretch14.mpg", 16.0,
         [](const Body &b) { return -b.neck.x; }, -0.08},
        {"chin tuck: finger on the chin", "Stretch17.mpg", 10.0,
         [](const Body &b) {
             const Vec3 chin = b.headCentre + b.head * Vec3{0, -0.085, 0.09};
             return length(fingertip(b, Right) - chin);
         },
         0.03},
        {"chin tuck: head moved back", "Stretch17.mpg", 10.0,
         [](const Body &b) { return b.headCentre.z - b.neck.z; }, -0.02},
        {"hands to floor: fingertips reach the floor", "Stretch19.mpg", 8.0,
         [](const Body &b) { return std::max(fingertip(b, Left).y, fingertip(b, Right).y); }, 0.05},
        {"elbow extension: fists while bent", "Stretch20.mpg", 2.4,
         [](const Body &b) { return -b.hand[Left].shape.curl; }, -0.9},
        {"elbow extension: arms straight, fingers spread", "Stretch20.mpg", 5.2,
         [](const Body &b) {
             return length(b.wrist[Left] - b.shoulder[Left]) < 0.5 ? 1.0
                                                                   : -b.hand[Left].shape.spread;
         },
         -0.9},
        {"trunk twist: left hand on the right knee", "Stretch26.mpg", 7.0,
         [](const Body &b) { return length(b.wrist[Left] - b.knee[Right]); }, 0.2},
        {"trunk twist: chest turned to the right", "Stretch26.mpg", 7.0,
         [front](const Body &b) { return (b.chest * front).x; }, -0.5},
        {"trunk twist: then right hand on the left knee", "Stretch26.mpg", 18.6,
         [](const Body &b) { return length(b.wrist[Right] - b.knee[Left]); }, 0.2},
        {"trunk twist: chest turned to the left", "Stretch26.mpg", 18.6,
         [front](const Body &b) { return -(b.chest * front).x; }, -0.5},
        {"arm rotation: palms down at first", "Stretch28.mpg", 3.0,
         [](const Body &b) { return b.hand[Left].palm.y + b.hand[Right].palm.y; }, -1.8},
        {"arm rotation: palms turned up", "Stretch28.mpg", 9.0,
         [](const Body &b) { return -(b.hand[Left].palm.y + b.hand[Right].palm.y); }, -1.8},
    };
    return all;
}

} // namespace

class AnimationTest : public QObject {
    Q_OBJECT

private slots:
    void clipIsWellFormed_data();
    void clipIsWellFormed();
    void momentShowsTheInstruction_data();
    void momentShowsTheInstruction();
    void sidesAreSwitched();
};

void AnimationTest::clipIsWellFormed_data() {
    QTest::addColumn<QString>("file");
    for (const pausewell::Exercise &e : pausewell::catalogue())
        QTest::newRow(qPrintable(fileOf(e.video))) << fileOf(e.video);
}

void AnimationTest::clipIsWellFormed() {
    QFETCH(QString, file);
    const Clip *clip = clipFor(file.toStdString());
    QVERIFY2(clip, "no animation for this video");
    QCOMPARE(clip->keys.front().time, 0.0);
    for (std::size_t i = 1; i < clip->keys.size(); ++i)
        QVERIFY2(clip->keys[i].time >= clip->keys[i - 1].time, qPrintable(QString::number(i)));
    QVERIFY(clip->duration() >= 20.0 && clip->duration() <= 28.0);

    const Framing framing = frameClip(*clip);
    const QRectF picture(0, 0, kWidth, kHeight);
    const Body start = solve(*clip, 0);
    double moved = 0;
    for (int f = 0; f <= frameCount(*clip); ++f) {
        const double t = static_cast<double>(f) / kFps;
        const Body b = solve(*clip, t);
        for (Side s : {Left, Right}) {
            const QString when =
                QStringLiteral("%1 side at %2 s").arg(s == Left ? "left" : "right").arg(t);
            // A target the limb cannot reach means the hand or foot is not where the table says.
            QVERIFY2(b.armShort[s] < 0.03,
                     qPrintable(QStringLiteral("arm %1 short, ").arg(b.armShort[s]) + when));
            QVERIFY2(b.legShort[s] < 0.02, qPrintable("leg short, " + when));
            QVERIFY2(fingertip(b, s).y > -0.01, qPrintable("hand below the floor " + when));
            if (fingertip(b, s).y >= clip->cropBelow)
                QVERIFY2(picture.contains(framing.project(fingertip(b, s))),
                         qPrintable("hand out of the picture " + when));
            moved = std::max(moved, length(b.wrist[s] - start.wrist[s]));
            moved = std::max(moved, length(b.shoulder[s] - start.shoulder[s]));
        }
        QVERIFY2(picture.contains(framing.project(b.headCentre + Vec3{0, bone::headRadius, 0})),
                 qPrintable(QStringLiteral("head out of the picture at %1 s").arg(t)));
    }
    QVERIFY(moved > 0.05);

    // The program loops the video: the last frame must lead straight back into the first.
    const Body end = solve(*clip, clip->duration());
    for (Side s : {Left, Right}) {
        QVERIFY(length(end.wrist[s] - start.wrist[s]) < 0.001);
        QVERIFY(length(end.elbow[s] - start.elbow[s]) < 0.001);
    }
    QVERIFY(length(end.headCentre - start.headCentre) < 0.001);
}

void AnimationTest::momentShowsTheInstruction_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 0; i < moments().size(); ++i)
        QTest::newRow(moments()[i].name) << static_cast<int>(i);
}

void AnimationTest::momentShowsTheInstruction() {
    QFETCH(int, index);
    const Moment &m = moments()[static_cast<std::size_t>(index)];
    const Clip *clip = clipFor(m.file);
    QVERIFY(clip);
    const double value = m.measure(solve(*clip, m.time));
    QVERIFY2(value < m.limit,
             qPrintable(QStringLiteral("%1 not below %2").arg(value).arg(m.limit)));
}

void AnimationTest::sidesAreSwitched() {
    // Where the instructions say to switch sides, each arm has a turn: in each half of the clip
    // the working arm is the one whose fingers point up (the other hand rests or presses across).
    struct Case {
        const char *file;
        Side first;
    };
    for (const Case &c : {Case{"Stretch01.mpg", Right}, Case{"Stretch09.mpg", Right},
                          Case{"Stretch25.mpg", Right}}) {
        const Clip *clip = clipFor(c.file);
        QVERIFY(clip);
        const double half = clip->duration() / 2;
        std::array<std::array<double, 2>, 2> fingersUp{}; // [half][side]
        for (double t = 0; t < clip->duration(); t += 0.2) {
            const Body b = solve(*clip, t);
            const int h = t < half ? 0 : 1;
            for (Side s : {Left, Right})
                fingersUp[h][s] = std::max(fingersUp[h][s], b.hand[s].fingers.y);
        }
        const Side second = c.first == Left ? Right : Left;
        QVERIFY2(fingersUp[0][c.first] > fingersUp[0][second] + 0.3, c.file);
        QVERIFY2(fingersUp[1][second] > fingersUp[1][c.first] + 0.3, c.file);
    }
}

QTEST_GUILESS_MAIN(AnimationTest)
#include "tst_animation.moc"
