#pragma once

#include <QImage>
#include <QMutex>
#include <QWidget>

#include <atomic>
#include <memory>

class QThread;
class QvGdi;

// The animation of a form whose head asks for it (draw_method "1"): a worker
// thread draws a frame of the demonstration scene every 10 milliseconds into
// an image, and this widget, laid over the form's whole client area under its
// controls and transparent to the mouse, shows the latest frame. Only the
// parts of the window whose pixels changed are repainted, so controls over a
// still part of the scene are not drawn again with every frame; the worker
// draws into the same two images for the whole run.
//
// Use by the form: at the end of its opening, when the draw method is "1",
// `(new QvFormAnimation(form))->Start()`. On closing, Stop() (or deleting
// the widget, or deleting the form with it) sets the stop flag and waits
// until the worker has finished its frame and freed its buffers; the worker
// touches nothing of the form, so closing during an animation is safe at
// any moment. The form never waits for a frame otherwise.
class QvFormAnimation : public QWidget
{
    Q_OBJECT

public:
    explicit QvFormAnimation(QWidget* form);
    ~QvFormAnimation() override;

    // Starts the worker; a second call while it runs does nothing.
    void Start();
    // Returns once the worker has ended.
    void Stop();
    bool IsRunning() const;
    // The latest frame drawn (null before the first).
    QImage Frame() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RunAnimationLoop();
    // Swaps the drawn image with the shown one and asks for the repaint of
    // what changed; the worker then draws the next frame into the old one.
    void PublishFrame(QImage& drawn);

    std::atomic_bool m_bStopAnimation{false};
    std::atomic_int m_nWidth{0};
    std::atomic_int m_nHeight{0};
    mutable QMutex m_frameLock;
    QImage m_frame; // written by the worker only, under the lock
    std::unique_ptr<QThread> m_thread;
};

// The three demonstration objects: two squares turning about their corners
// (one outlined, one filled) and a text.
void BuildDemoScene(QvGdi& scene);
