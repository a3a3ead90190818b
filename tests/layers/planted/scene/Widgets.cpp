#include <GL/gl.h>
#include <QWidget>
