#include "Catalogue.h"

#include <stdexcept>

namespace pausewell {
namespace {

// The texts are the program's own, typos included; they are shown exactly as written.
constexpr std::array<Exercise, kExerciseCount> kCatalogue{{
    {"Reach for the Sky,",
     "Sit with a straight back with both hands in lap. Lift one arm out to the side, then reach up "
     "and over your head. Spread fingers. Lower arm and repeat on other side.",
     "\\Stretch\\Stretch01.mpg"},
    {"Shoulder Shrug,",
     "Let your arms relax at your sides. Slowly lift your shoulders straight up, roll them back, "
     "then drop them down to the starting position. Repeat several times.",
     "\\Stretch\\Stretch03.mpg"},
    {"Finger Stretch,",
     "With fingertips (but not palms) touching, lower your hands from chin level to chest level. "
     "Rotate fingers toward body",
     "\\Stretch\\Stretch05.mpg"},
    {"Palm Press,", "With palms touching, lower your hands from chin level to chest level.",
     "\\Stretch\\Stretch06.mpg"},
    {"Wingspread,",
     "With hands clasped behind head, move elbows backward and hold for a few seconds.",
     "\\Stretch\\Stretch07.mpg"},
    {"Inverted Wrist Flexor Stretch,",
     "With elbow bent and fingers pointing upward, apply mild pressure to fingers as you "
     "straighten your arm out in front of you. Switch sides.",
     "\\Stretch\\Stretch09.mpg"},
    {"Wrist Extensor,",
     "With arm straight out in front of you and fingers pointing to the ground, apply mild "
     "presure on knuckles bending the wrist slightly further.",
     "\\Stretch\\Stretch11.mpg"},
    {"Hands Over Eyes,",
     "Start with hands up. Cover eyes with palms. Hold for a count of 5, then return hands to "
     "starting position.",
     "\\Stretch\\Stretch12.mpg"},
    {"Hands Overhead,",
     "Interlock fingers and extend over head. Lean to one side and then the other.",
     "\\Stretch\\Stretch14.mpg"},
    {"Chin Tuck,",
     "Sit up, exhale, and place finger on chin. Relax your neck and move head back so chin "
     "tucks in.",
     "\\Stretch\\Stretch17.mpg"},
    {"Arms Overhead,",
     "Raise arms overhead, touching palms together. Reach slightly upwards. Return to starting "
     "position.",
     "\\Stretch\\Stretch18.mpg"},
    {"Hands to Floor,",
     "Sit towards the front of your seat. Lean forward and touch the floor. Gently inhale and "
     "arch your mid-back. Return to sitting position.",
     "\\Stretch\\Stretch19.mpg"},
    {"Elbow && Finger Extension,",
     "Start with elbows bent, arms parallel to the floor, and fingers clenched. Straighten arms "
     "out in front of you, while spreading fingers and extending wrists. Repeat several times.",
     "\\Stretch\\Stretch20.mpg"},
    {"Mid Back Stretch,",
     "With both arms straight out in front of you, pull one wrist away from yourself just a bit "
     "further. Arch your back slightly, and take a deep breath.",
     "\\Stretch\\Stretch21.mpg"},
    {"Wrist Flexor Stretch,",
     "With one arm straight out in front of you, palm facing out and fingers pointing up, pull "
     "fingers with mild presure back towards your body. Switch sides.",
     "\\Stretch\\Stretch25.mpg"},
    {"Trunk Twist,",
     "Place left hand on right leg. Twist torso to the right, looking over shoulder. Return to "
     "the center and repeat to the other side.",
     "\\Stretch\\Stretch26.mpg"},
    {"Standing Arm Rotation,",
     "With arms out to your sides, palms facing down, slowly rotate arms so palms face upwards. "
     "Arch your back slightly, and hold for a few seconds.",
     "\\Stretch\\Stretch28.mpg"},
}};

} // namespace

const std::array<Exercise, kExerciseCount> &catalogue() { return kCatalogue; }

const Exercise &exercise(int index) {
    if (index < 0 || index >= kExerciseCount)
        throw std::out_of_range("exercise index out of range");
    return kCatalogue[static_cast<std::size_t>(index)];
}

} // namespace pausewell
