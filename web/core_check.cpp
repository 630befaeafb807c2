// Plays the core with nothing but the core: Start is shown, a game button is
// pressed and its form opens, one drop of a puzzle is played. Built natively
// and for the browser (run under node), it shows that every rule of the
// program is there without a toolkit. Prints what it saw; exits 1 on a
// difference.
#include "menu/form_catalog.h"
#include "runtime/form.h"
#include "runtime/form_drawing.h"
#include "runtime/form_registry.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace tuvrel;

// The windows as a stack of names, front first.
class RecordingWindows : public WindowSystem {
public:
    std::vector<std::string> front;

    std::unique_ptr<FormView> createView(Form& form) override { return std::make_unique<View>(*this, form.name()); }
    void messageBox(const std::string& text, const std::string&) override
    {
        std::printf("message: %s\n", text.c_str());
    }
    void quit(int) override {}
    void reportError(const std::string& message) override { std::printf("error: %s\n", message.c_str()); }

private:
    class View : public FormView {
    public:
        View(RecordingWindows& windows, std::string name) : windows_(windows), name_(std::move(name)) {}
        ~View() override { std::erase(windows_.front, name_); }
        void invalidate(const Rect&) override {}
        void repaintNow() override {}
        void bringToFront() override
        {
            std::erase(windows_.front, name_);
            windows_.front.insert(windows_.front.begin(), name_);
        }

    private:
        RecordingWindows& windows_;
        std::string name_;
    };
};

// Text with no fonts at hand: every character as wide as half the font's size.
class HalfEmMeasurer : public TextMeasurer {
public:
    LineMetrics lineMetrics(const FontSpec& font) override
    {
        return {0.8 * font.pixelSize(), 0.2 * font.pixelSize(), 0};
    }
    RunWidth measure(const FontSpec& font, std::string_view run) override
    {
        return {0.5 * font.pixelSize() * double(run.size()), 0};
    }
};

// Counts what a form's drawing holds.
class CountingPainter : public FormPainter {
public:
    int pictures = 0, texts = 0, buttons = 0, fills = 0;
    HalfEmMeasurer halfEm;
    TextMeasurer& measurer() override { return halfEm; }
    void fill(const Rect&, Rgb) override { ++fills; }
    void picture(const Picture&, Point) override { ++pictures; }
    bool laysBackgroundOnFace(const Picture&) override { return false; }
    void background(const Picture&, const Region&) override {}
    void text(const TextDrawing&) override { ++texts; }
    void button(const ButtonDrawing&) override { ++buttons; }
    void line(Point, Point, int, Rgb) override {}
    void dragOutline(const Rect&) override {}
};

int failures = 0;

void check(bool ok, const std::string& what)
{
    std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
    if (!ok)
        ++failures;
}

Point centre(const Control& c)
{
    return c.pixelRect().center();
}

void click(Form& form, const Control& c)
{
    form.mousePress(centre(c), MouseButton::Left);
    form.mouseRelease(centre(c), MouseButton::Left);
    form.registry().eventDone();
}

}  // namespace

int main()
{
    try {
        RecordingWindows windows;
        FormRegistry registry(&windows);
        registerProgramForms(registry);
        registry.show("Start");
        check(windows.front == std::vector<std::string>{"Start"}, "Start is shown");
        Form& start = registry.form("Start");
        CountingPainter drawn;
        drawForm(start, Rect({}, start.clientSize()), drawn, true);
        check(drawn.buttons == 8 && drawn.texts >= 1, "Start draws its eight buttons and its title (" +
                                                          std::to_string(drawn.buttons) + " buttons, " +
                                                          std::to_string(drawn.texts) + " texts)");

        click(start, start.button("knopPuzzels"));
        check(!windows.front.empty() && windows.front.front() == "Puzzel1", "knopPuzzels opens Puzzel1 in front");

        Form& puzzle = registry.form("Puzzel1");
        Image& piece = puzzle.image("img1");
        Image& slot = puzzle.image("Image1");
        const Point grab = centre(piece);
        puzzle.mousePress(grab, MouseButton::Left);
        check(puzzle.drag().has_value(), "pressing a piece starts a drag");
        puzzle.mouseMove(centre(slot));
        puzzle.mouseRelease(centre(slot), MouseButton::Left);
        registry.eventDone();
        check(slot.picture() == piece.picture() && !piece.visible() && !slot.enabled(),
              "the top-left piece dropped on its place stays there and leaves the pile");
    } catch (const std::exception& e) {
        std::printf("FAIL the core threw: %s\n", e.what());
        return 1;
    }
    std::printf("%s\n", failures ? "core check failed" : "core check passed");
    return failures ? 1 : 0;
}
